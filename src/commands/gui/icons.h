#pragma once
// Varkel's own icons, looked up by image key ("imgNew", ...).

#include <QIcon>
#include <string_view>

namespace varkel {

// The icon drawn for an image key; a null icon for an empty or unknown key.
QIcon IconFor(std::string_view key);

} // namespace varkel
