#include "dialogs/fileassoc.h"

#include "app/mglobal.h"
#include "dialogs/mimeapps.h"

#include <algorithm>
#include <cctype>

namespace varkel {

namespace {

std::string extensionKey(std::string_view ext)
{
    return "." + std::string(ext);
}

// The extensions whose class in the store is ours, extra included.
std::vector<std::string> associatedExtensions(const RegStore &store, std::string_view extra)
{
    std::vector<std::string> exts{std::string(extra)};
    for (const std::string &key : store.Keys()) {
        if (key.size() < 2 || key.front() != '.')
            continue;
        const std::string ext = key.substr(1);
        if (!IsValidExtension(ext) || GetRegString(key, "", store) != kFileTypeClass)
            continue;
        const bool known = std::any_of(exts.begin(), exts.end(), [&](const std::string &e) {
            return e.size() == ext.size() && std::equal(e.begin(), e.end(), ext.begin(), [](char a, char b) {
                       return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
                   });
        });
        if (!known)
            exts.push_back(ext);
    }
    return exts;
}

} // namespace

std::string AssociationStorePath()
{
    const std::string data = XdgDataHome();
    return data.empty() ? std::string() : data + "/Varkel/classes.ini";
}

AssociationPlaces DefaultAssociationPlaces()
{
    AssociationPlaces places;
    places.programDir = mGlobal::AppDir;
    places.storePath = AssociationStorePath();
    places.desktop.dataHome = XdgDataHome();
    places.desktop.configHome = XdgConfigHome();
    places.desktop.configDirs = XdgConfigDirs();
    places.desktop.dataDirs = XdgDataDirs();
    places.desktop.desktopNames = CurrentDesktopNames();
    places.desktop.programPath = mGlobal::AppDir + "/varkel";
    places.desktop.updateMimeDatabase = RunUpdateMimeDatabase;
    return places;
}

std::string FileTypeCommand(std::string_view programDir)
{
    return std::string(programDir) + "/varkel %1";
}

std::string FileTypeIcon(std::string_view programDir)
{
    return std::string(programDir) + "/varkel,0";
}

long QueryRegValue(const RegStore::Key &key, std::string_view valueName, RegValue &value)
{
    int type = 0;
    std::string raw;
    long status = RegStore::QueryValueInfo(key, valueName, type, raw);
    if (status != kRegSuccess)
        return status;
    switch (type) {
    case kRegSz:
        value = RegStore::StringContent(raw);
        return kRegSuccess;
    case kRegDword:
        value = RegStore::DwordContent(raw);
        return kRegSuccess;
    default:
        return kRegUnsupportedType;
    }
}

std::string GetRegString(std::string_view key, std::string_view valueName, const RegStore &store)
{
    RegStore::Key handle;
    if (store.OpenKey(key, handle) != kRegSuccess)
        return {};
    RegValue value;
    QueryRegValue(handle, valueName, value);
    if (const auto *text = std::get_if<std::string>(&value))
        return *text;
    if (const auto *number = std::get_if<std::uint32_t>(&value))
        return std::to_string(*number);
    return {};
}

std::string GetRegString(std::string_view key, std::string_view valueName)
{
    return GetRegString(key, valueName, RegStore(AssociationStorePath()));
}

bool RegisterFileType(std::string_view extension, const AssociationPlaces &places)
{
    if (!IsValidExtension(extension))
        return false;
    const RegStore store(places.storePath);
    bool ok = store.SetString(kFileTypeClass, "", kFileTypeDescription);
    ok &= store.SetString(extensionKey(extension), "", kFileTypeClass);
    ok &= store.SetString(kFileTypeCommandKey, "", FileTypeCommand(places.programDir));
    ok &= store.SetString(kFileTypeIconKey, "", FileTypeIcon(places.programDir));
    // The desktop follows the store; when the store could not take the
    // association, the desktop is not changed either.
    if (!ok)
        return false;
    return WriteDesktopAssociation(places.desktop, associatedExtensions(store, extension));
}

bool RegisterFileType(std::string_view extension)
{
    return RegisterFileType(extension, DefaultAssociationPlaces());
}

bool IsFileTypeAssociated(std::string_view extension, const AssociationPlaces &places)
{
    if (!IsValidExtension(extension))
        return false;
    const RegStore store(places.storePath);
    return GetRegString(extensionKey(extension), "", store) == kFileTypeClass
           && GetRegString(kFileTypeCommandKey, "", store) == FileTypeCommand(places.programDir)
           && ExtensionDefaultApplication(extension, places.desktop) == kDesktopFileName;
}

bool IsFileTypeAssociated(std::string_view extension)
{
    return IsFileTypeAssociated(extension, DefaultAssociationPlaces());
}

std::string FileTypeQuestion(std::string_view extension)
{
    return "*." + std::string(extension) + " files are currently associated with another application.\n"
           "Do you wish to overwrite?";
}

std::string ReplaceFileQuestion(std::string_view path)
{
    return std::string(path) + " differs from the file Varkel would write there.\n"
                               "Do you wish to overwrite?";
}

bool ApplyFileTypeAssociation(std::string_view extension, bool checked,
                              const std::function<bool(const std::string &question)> &askOverwrite,
                              const AssociationPlaces &places)
{
    if (!checked)
        return false;
    const auto ask = [&askOverwrite](const std::string &question) { return askOverwrite && askOverwrite(question); };
    // The question is asked only when another program really is the
    // desktop's choice for these files; nothing set, or Varkel, is no reason.
    const std::string current = ExtensionDefaultApplication(extension, places.desktop);
    if (!current.empty() && current != kDesktopFileName && !ask(FileTypeQuestion(extension)))
        return false;
    AssociationPlaces writing = places;
    for (const std::string &path : ChangedDesktopFiles(places.desktop))
        if (!ask(ReplaceFileQuestion(path)))
            writing.desktop.keepFiles.push_back(path);
    RegisterFileType(extension, writing);
    return true;
}

} // namespace varkel
