#pragma once
// The one table of failure classes that Varkel reports to the user. Each
// class has a stable number (shown in the "Error <n>" title of the message box)
// and a plain description.

#include <string>
#include <string_view>

namespace varkel {

enum class ErrorCode : int {
    None = 0,
    FileNotFound = 53,
    PermissionDenied = 70,
    PathNotFound = 76,
    FileIo = 57,
    NotAFile = 75,
    DiskFull = 61,
    OutOfMemory = 7,
    DuplicateEntry = 457,
    TooManyKeyNames = 9,
    BadDataLine = 380,
    DataFolderMissing = 1001,
    SettingsUnwritable = 1002,
    PrinterUnavailable = 482,
    HelpMissing = 1003,
    ToolFailedToStart = 1004,
    Unexpected = 1005,
    PrintFailed = 1006,
    SettingsNotAFile = 1007,
};

struct ErrorInfo {
    ErrorCode code;
    std::string_view description;
};

// Plain description of an error class ("File not found", ...).
std::string_view errorDescription(ErrorCode code);

// An error as it is reported: its number and a description, which may carry
// detail (a path, a word) after the class's own text.
struct Error {
    ErrorCode code = ErrorCode::None;
    std::string detail;

    explicit operator bool() const { return code != ErrorCode::None; }
    int number() const { return static_cast<int>(code); }
    std::string description() const;
};

// Maps an errno value from a failed file operation to an error class.
ErrorCode errorFromErrno(int err);

} // namespace varkel
