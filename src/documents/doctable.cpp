#include "documents/doctable.h"

namespace varkel {

int DocTable::FindFreeIndex()
{
    m_docs.emplace_back();
    return DocCount();
}

bool DocTable::AnyOpen() const
{
    for (const auto &doc : m_docs)
        if (!doc.Closed)
            return true;
    return false;
}

int DocTable::FindOpenPath(std::string_view path) const
{
    for (int d = 1; d <= DocCount(); ++d)
        if (!(*this)[d].Closed && (*this)[d].Path == path)
            return d;
    return 0;
}

std::string ParseNameFromPath(std::string_view path)
{
    const auto slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string FolderOfPath(std::string_view path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return {};
    return slash == 0 ? std::string("/") : std::string(path.substr(0, slash));
}

std::string SaveStartFolder(std::string_view documentPath, bool hasFile, std::string_view lastFolder,
                            std::string_view homeFolder)
{
    if (hasFile) {
        if (std::string folder = FolderOfPath(documentPath); !folder.empty())
            return folder;
    }
    return std::string(lastFolder.empty() ? homeFolder : lastFolder);
}

std::string WithDefaultExtension(std::string_view path, std::string_view extension)
{
    const std::string name = ParseNameFromPath(path);
    if (name.empty() || name.find('.', 1) != std::string::npos)
        return std::string(path);
    std::string out(path);
    out += '.';
    out += extension;
    return out;
}

std::string UntitledName(int d)
{
    return "Untitled " + std::to_string(d);
}

bool IsUntitledPath(std::string_view path)
{
    return path.substr(0, 8) == "Untitled";
}

} // namespace varkel
