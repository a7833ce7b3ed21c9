#include "dialogs/gui/fileassocui.h"

#include "documents/gui/prompts.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QFile>

namespace varkel {

AssociationPlaces ProgramAssociationPlaces()
{
    AssociationPlaces places = DefaultAssociationPlaces();
    const QString program = QCoreApplication::applicationFilePath();
    if (!program.isEmpty())
        places.desktop.programPath = program.toStdString();
    QFile icon(QStringLiteral(":/icons/varkel.svg"));
    if (icon.open(QIODevice::ReadOnly))
        places.desktop.iconSvg = icon.readAll().toStdString();
    return places;
}

bool FileTypeBoxChecked(std::string_view extension)
{
    return IsFileTypeAssociated(extension, DefaultAssociationPlaces());
}

} // namespace varkel
