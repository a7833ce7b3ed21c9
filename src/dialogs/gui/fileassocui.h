#pragma once
// The file-type check boxes of the options dialog ("*.cfg", "*.rc") over the
// association logic of dialogs/fileassoc.h.

#include "dialogs/fileassoc.h"

#include <string_view>

class QCheckBox;
class QWidget;

namespace varkel {

class Prompts;

// The running program's places: its own executable for the desktop entry and
// Varkel's icon to install.
AssociationPlaces ProgramAssociationPlaces();

// On opening the page: whether the box for extension starts checked.
bool FileTypeBoxChecked(std::string_view extension);

} // namespace varkel
