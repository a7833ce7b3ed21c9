#include "app/settings.h"

#include "app/colourscheme.h"
#include "app/profile.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace varkel {

namespace {

std::string envValue(const char *name)
{
    const char *v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string homeDir()
{
    std::string home = envValue("HOME");
    if (!home.empty())
        return home;
    if (const passwd *pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        return pw->pw_dir;
    return "/tmp";
}

// mkdir -p; existing folders are fine.
void makeDirs(const std::string &dir)
{
    for (std::size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos == dir.size() || dir[pos] == '/') {
            std::string part = dir.substr(0, pos);
            if (::mkdir(part.c_str(), 0777) != 0 && errno != EEXIST)
                return;
        }
    }
}

bool fileExists(const std::string &path)
{
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
}

} // namespace

std::string ResolveIniPath(const std::string &appDir)
{
    std::string env = envValue("VARKEL_INI");
    if (!env.empty())
        return env;

    std::string dir = appDir;
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    if (!dir.empty()) {
        const std::string base = dir == "/" ? "" : dir;
        std::string path = base + "/" + std::string(kIniFileName);
        // The file beside the program: a portable copy's own file, or a new
        // one when the program runs from its build folder. An installed
        // copy keeps its settings in the user's configuration folder.
        const bool buildFolder = fileExists(base + "/CMakeCache.txt");
        bool usable = fileExists(path) ? ::access(path.c_str(), W_OK) == 0
                                       : buildFolder && ::access(dir.c_str(), W_OK) == 0;
        if (usable)
            return path;
    }

    std::string config = envValue("XDG_CONFIG_HOME");
    if (config.empty() || config.front() != '/') // relative values are invalid
        config = homeDir() + "/.config";
    std::string folder = config + "/Varkel";
    makeDirs(folder);
    return folder + "/" + std::string(kIniFileName);
}

Error CheckIniPath(const std::string &iniPath)
{
    struct stat st;
    if (::stat(iniPath.c_str(), &st) == 0 && !S_ISREG(st.st_mode))
        return Error{ErrorCode::SettingsNotAFile, iniPath};
    return {};
}

bool ProfileBool(const std::string &text) { return text == "True"; }

const char *BoolText(bool b) { return b ? "True" : "False"; }

int RoundHalfEven(double v)
{
    double f = std::floor(v);
    double diff = v - f;
    double r = f;
    if (diff > 0.5 || (diff == 0.5 && std::fmod(f, 2.0) != 0.0))
        r = f + 1.0;
    return static_cast<int>(r);
}

Settings ReadSettings(const std::string &iniPath, bool darkSystem)
{
    const ProfileFile ini = ProfileFile::load(iniPath);
    auto boolean = [&](std::string_view section, std::string_view key, bool def) {
        return ProfileBool(ini.getString(section, key, BoolText(def)));
    };
    // A mode the program does not know reads as the default one.
    auto mode = [&](std::string_view key, int def, int last) {
        const int v = ini.getInt(kSectionGeneral, key, def);
        return v >= 0 && v <= last ? v : def;
    };
    // So does a colour that is none (beyond 24 bits, or negative).
    auto colour = [&](std::string_view key, unsigned def) {
        const int v = ini.getInt(kSectionFont, key, static_cast<int>(def));
        return v >= 0 && static_cast<unsigned>(v) <= kMaxColorValue ? static_cast<unsigned>(v) : def;
    };
    Settings s;

    s.FontName = ini.getString(kSectionFont, "Name", s.FontName);
    // A font needs a size: a missing or unusable one gives the default.
    const int fontSize = ini.getInt(kSectionFont, "Size", s.FontSize);
    s.FontSize = fontSize < kMinFontSize ? s.FontSize : std::min(fontSize, kMaxFontSize);
    s.FontBold = boolean(kSectionFont, "Bold", s.FontBold);
    s.FontItalic = boolean(kSectionFont, "Italic", s.FontItalic);
    s.BGColor = colour("BGColor", s.BGColor);

    s.AutoSyntaxType = mode("AutoSyntaxType", s.AutoSyntaxType, 2);
    s.AutoRefresh = boolean(kSectionGeneral, "AutoRefresh", s.AutoRefresh);
    s.ConflictType = mode("ConflictType", s.ConflictType, 2);

    for (std::size_t i = 0; i < s.SyntaxColors.size(); ++i)
        s.SyntaxColors[i] = colour("SyntaxColor" + std::to_string(i), kDefaultSyntaxColors[i]);

    // A first start on a dark desktop: nothing chosen yet, so the dark preset.
    auto stored = [&](const std::string &key) {
        return ini.getString(kSectionFont, key, "\x01") != "\x01";
    };
    bool anyColourStored = stored("BGColor");
    for (std::size_t i = 0; i < s.SyntaxColors.size(); ++i)
        anyColourStored = anyColourStored || stored("SyntaxColor" + std::to_string(i));
    if (darkSystem && !anyColourStored) {
        s.BGColor = kDarkPreset.background;
        s.SyntaxColors = kDarkPreset.syntax;
    }

    s.ColorStringElements = boolean(kSectionFont, "ColorStringElements", s.ColorStringElements);

    s.QVersion = ini.getString(kSectionGeneral, "QVersion", s.QVersion);
    s.ShowKeyboard = boolean(kSectionGeneral, "ShowKeyboard", s.ShowKeyboard);
    s.ShowBindingsTable = boolean(kSectionGeneral, "ShowBindingsTable", s.ShowBindingsTable);
    if (const int area = ini.getInt(kSectionGeneral, "BindingsTableArea", s.BindingsTableArea);
        area == 1 || area == 2 || area == 4 || area == 8)
        s.BindingsTableArea = area;

    s.CommentAutoSize = boolean(kSectionGeneral, "CommentAutoSize", s.CommentAutoSize);
    s.CommentChar = ini.getString(kSectionGeneral, "CommentChar", s.CommentChar);
    s.CommentSize = std::clamp(ini.getInt(kSectionGeneral, "CommentSize", s.CommentSize), 0, kMaxCommentSize);
    s.CommentAlignment = boolean(kSectionGeneral, "CommentAlignment", s.CommentAlignment);
    s.CommentUCase = boolean(kSectionGeneral, "CommentUCase", s.CommentUCase);

    const int tools = std::clamp(ini.getInt(kSectionUserTools, "NumUserTools", 0), 0, kMaxUserTools);
    s.ToolNames.resize(static_cast<std::size_t>(tools));
    s.ToolPaths.resize(static_cast<std::size_t>(tools));
    for (int i = 1; i <= tools; ++i) {
        s.ToolNames[i - 1] = ini.getString(kSectionUserTools, "ToolName" + std::to_string(i), "");
        s.ToolPaths[i - 1] = ini.getString(kSectionUserTools, "ToolPath" + std::to_string(i), "");
    }

    s.ShowTipOday = boolean(kSectionGeneral, "ShowTipOday", s.ShowTipOday);
    s.DetectGame = boolean(kSectionGeneral, "DetectGame", s.DetectGame);
    s.ShowLineNumbers = boolean(kSectionGeneral, "ShowLineNumbers", s.ShowLineNumbers);
    s.CheckScripts = boolean(kSectionGeneral, "CheckScripts", s.CheckScripts);
    s.OfferCompletions = boolean(kSectionGeneral, "OfferCompletions", s.OfferCompletions);
    s.ShowProblems = boolean(kSectionGeneral, "ShowProblems", s.ShowProblems);
    if (const int area = ini.getInt(kSectionGeneral, "ProblemsArea", s.ProblemsArea);
        area == 1 || area == 2 || area == 4 || area == 8)
        s.ProblemsArea = area;
    return s;
}

FrameGeometry ReadFrameGeometry(const std::string &iniPath, int screenWidthTwips, int screenHeightTwips)
{
    const int screenW = screenWidthTwips;
    const int screenH = screenHeightTwips;
    const int defHeight = RoundHalfEven(screenH * 0.8);
    const int defLeft = RoundHalfEven((screenW - kDefaultFrameWidth) / 2.0);
    const int defTop = RoundHalfEven((screenH - defHeight) / 2.0);

    const ProfileFile ini = ProfileFile::load(iniPath);
    FrameGeometry g;
    g.windowState = ini.getInt(kSectionGeneral, "WindowState", 0);
    if (g.windowState < 0 || g.windowState > 2)
        g.windowState = 0;
    g.left = defLeft;
    g.top = defTop;
    g.width = kDefaultFrameWidth;
    g.height = defHeight;
    if (g.windowState == 2) {
        g.applyRect = false;
        return g;
    }

    g.left = ini.getInt(kSectionGeneral, "Left", defLeft);
    g.top = ini.getInt(kSectionGeneral, "Top", defTop);
    g.width = ini.getInt(kSectionGeneral, "Width", kDefaultFrameWidth);
    g.height = ini.getInt(kSectionGeneral, "Height", defHeight);
    // A frame without area cannot be seen or grabbed again.
    if (g.width <= 0)
        g.width = kDefaultFrameWidth;
    if (g.height <= 0)
        g.height = defHeight;

    if (screenH < g.height)
        g.height = defHeight;
    if (screenW < g.width)
        g.width = kDefaultFrameWidth;
    if (screenW - g.width < g.left)
        g.left = screenW - g.width;
    if (g.left < 0)
        g.left = 0;
    if (screenH - g.height < g.top)
        g.top = screenH - g.height;
    if (g.top < 0)
        g.top = 0;
    return g;
}

void WriteFrameGeometry(const std::string &iniPath, int windowState, int left, int top, int width,
                        int height)
{
    if (windowState == 1)
        return;
    if (windowState == 2) {
        WriteProfileInt(kSectionGeneral, "WindowState", 2, iniPath);
        return;
    }
    WriteProfileInt(kSectionGeneral, "WindowState", 0, iniPath);
    WriteProfileInt(kSectionGeneral, "Left", left, iniPath);
    WriteProfileInt(kSectionGeneral, "Top", top, iniPath);
    WriteProfileInt(kSectionGeneral, "Width", width, iniPath);
    WriteProfileInt(kSectionGeneral, "Height", height, iniPath);
}

} // namespace varkel
