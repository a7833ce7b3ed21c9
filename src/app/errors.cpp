#include "app/errors.h"

#include <array>
#include <cerrno>

namespace varkel {

namespace {
constexpr std::array kErrors{
    ErrorInfo{ErrorCode::None, "No error"},
    ErrorInfo{ErrorCode::FileNotFound, "File not found"},
    ErrorInfo{ErrorCode::PermissionDenied, "Permission denied"},
    ErrorInfo{ErrorCode::PathNotFound, "Path not found"},
    ErrorInfo{ErrorCode::FileIo, "Device I/O error"},
    ErrorInfo{ErrorCode::NotAFile, "Path/File access error"},
    ErrorInfo{ErrorCode::DiskFull, "Disk full"},
    ErrorInfo{ErrorCode::OutOfMemory, "Out of memory"},
    ErrorInfo{ErrorCode::DuplicateEntry, "This key is already associated with an element of this collection"},
    ErrorInfo{ErrorCode::TooManyKeyNames, "Subscript out of range: too many key names"},
    ErrorInfo{ErrorCode::BadDataLine, "Invalid entry in a data file"},
    ErrorInfo{ErrorCode::DataFolderMissing, "Data folder not found"},
    ErrorInfo{ErrorCode::SettingsUnwritable, "Settings file cannot be written"},
    ErrorInfo{ErrorCode::PrinterUnavailable, "Printer error: no printer is available"},
    ErrorInfo{ErrorCode::HelpMissing, "Help files not found"},
    ErrorInfo{ErrorCode::ToolFailedToStart, "The program could not be started"},
    ErrorInfo{ErrorCode::Unexpected, "Unexpected error"},
    ErrorInfo{ErrorCode::PrintFailed, "The document could not be printed"},
    ErrorInfo{ErrorCode::SettingsNotAFile,
              "The settings file is not a regular file; default settings are used and none are saved"},
};
} // namespace

std::string_view errorDescription(ErrorCode code)
{
    for (const auto &e : kErrors)
        if (e.code == code)
            return e.description;
    return "Unexpected error";
}

std::string Error::description() const
{
    std::string text(errorDescription(code));
    if (!detail.empty())
        text += ": " + detail;
    return text;
}

ErrorCode errorFromErrno(int err)
{
    switch (err) {
    case 0: return ErrorCode::None;
    case ENOENT: return ErrorCode::FileNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return ErrorCode::PermissionDenied;
    case ENOTDIR: return ErrorCode::PathNotFound;
    case EISDIR: return ErrorCode::NotAFile;
    case ENOSPC:
    case EDQUOT: return ErrorCode::DiskFull;
    case ENOMEM: return ErrorCode::OutOfMemory;
    default: return ErrorCode::FileIo;
    }
}

} // namespace varkel
