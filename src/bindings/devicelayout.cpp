#include "bindings/devicelayout.h"

#include <algorithm>
#include <cmath>

namespace varkel {

namespace {

constexpr int kKey = 450;

using F = CaptionFont;
constexpr F Small = F::SmallFonts675;
constexpr F V6 = F::Verdana6;
constexpr F V825 = F::Verdana825;
constexpr F V975 = F::Verdana975;

constexpr KeyLayout key(int slot, std::string_view caption, int left, int top, F font, int width = kKey,
                        int height = kKey)
{
    return KeyLayout{slot, caption, TwipsRect{left, top, width, height}, font};
}

// Slot order. Rows at top 240 (function keys), 840, 1260, 1680, 2100 and 2520;
// keys are 450 twips square on a 420-twip pitch, so neighbours overlap by 30
// twips and the caps are drawn inset by that much.
constexpr std::array<KeyLayout, 101> kKeys{{
    key(0, "Esc", 120, 240, Small),
    key(1, "F1", 840, 240, Small),
    key(2, "F2", 1260, 240, Small),
    key(3, "F3", 1680, 240, Small),
    key(4, "F4", 2100, 240, Small),
    key(5, "F5", 2760, 240, Small),
    key(6, "F6", 3180, 240, Small),
    key(7, "F7", 3600, 240, Small),
    key(8, "F8", 4020, 240, Small),
    key(9, "F9", 4740, 240, Small),
    key(10, "F10", 5160, 240, Small),
    key(11, "F11", 5580, 240, Small),
    key(12, "F12", 6000, 240, Small),
    key(13, "~", 120, 840, Small),
    key(14, "1", 540, 840, Small),
    key(15, "2", 960, 840, Small),
    key(16, "3", 1380, 840, Small),
    key(17, "4", 1800, 840, Small),
    key(18, "5", 2220, 840, Small),
    key(19, "6", 2640, 840, Small),
    key(20, "7", 3060, 840, Small),
    key(21, "8", 3480, 840, Small),
    key(22, "9", 3900, 840, Small),
    key(23, "0", 4320, 840, Small),
    key(24, "-", 4740, 840, V975),
    key(25, "+", 5160, 840, V975),
    key(26, "Backspace", 5580, 840, V6, 870),
    key(27, "Tab", 120, 1260, V6, 645),
    key(28, "Q", 720, 1260, Small),
    key(29, "W", 1140, 1260, Small),
    key(30, "E", 1560, 1260, Small),
    key(31, "R", 1980, 1260, Small),
    key(32, "T", 2400, 1260, Small),
    key(33, "Y", 2820, 1260, Small),
    key(34, "U", 3240, 1260, Small),
    // The original form has this key 15 twips below its row; it is lined up
    // with the row here, since the step shows as a crooked key.
    key(35, "I", 3660, 1260, Small),
    key(36, "O", 4080, 1260, Small),
    key(37, "P", 4500, 1260, Small),
    key(38, "[", 4920, 1260, Small),
    key(39, "]", 5340, 1260, Small),
    key(40, "Caps", 120, 1680, V6, 645),
    key(41, "A", 840, 1680, Small),
    key(42, "S", 1260, 1680, Small),
    key(43, "D", 1680, 1680, Small),
    key(44, "F", 2100, 1680, Small),
    key(45, "G", 2520, 1680, Small),
    key(46, "H", 2940, 1680, Small),
    key(47, "J", 3360, 1680, Small),
    key(48, "K", 3780, 1680, Small),
    key(49, "L", 4200, 1680, Small),
    key(50, ";", 4620, 1680, Small),
    key(51, "'", 5040, 1680, Small),
    key(52, "Enter", 5580, 1680, V825, 870),
    key(53, "Shift", 120, 2100, V825, 870),
    key(54, "Z", 960, 2100, Small),
    key(55, "X", 1380, 2100, Small),
    key(56, "C", 1800, 2100, Small),
    key(57, "V", 2220, 2100, Small),
    key(58, "B", 2640, 2100, Small),
    key(59, "N", 3060, 2100, Small),
    key(60, "M", 3480, 2100, Small),
    key(61, ",", 3900, 2100, Small),
    key(62, ".", 4320, 2100, Small),
    key(63, "/", 4740, 2100, V825),
    key(64, "Shift", 5160, 2100, V825, 870),
    key(65, "\\", 6000, 2100, V825),
    key(66, "Ctrl", 120, 2520, V825, 645),
    key(67, "Alt", 780, 2520, V825, 705),
    key(68, "", 1470, 2520, V825, 3630),
    key(69, "Alt", 5100, 2520, V825, 705),
    key(70, "Ctrl", 5760, 2520, V825, 705),
    key(71, "Prt", 6660, 240, Small),
    key(72, "Scr", 7080, 240, Small),
    key(73, "Pau", 7500, 240, Small),
    key(74, "Ins", 6660, 840, Small),
    key(75, "Hm", 7080, 840, Small),
    key(76, "PgU", 7500, 840, Small),
    key(77, "Del", 6660, 1260, Small),
    key(78, "End", 7080, 1260, Small),
    key(79, "PgD", 7500, 1260, Small),
    key(80, "^", 7080, 2100, V825),
    key(81, "<", 6660, 2520, V825),
    key(82, "V", 7080, 2520, Small),
    key(83, ">", 7500, 2520, V825),
    key(84, "Num", 8220, 840, Small),
    key(85, "/", 8640, 840, V825),
    key(86, "*", 9060, 840, V825),
    key(87, "-", 9480, 840, V975),
    key(88, "7", 8220, 1260, Small),
    key(89, "8", 8640, 1260, Small),
    key(90, "9", 9060, 1260, Small),
    key(91, "4", 8220, 1680, Small),
    key(92, "5", 8640, 1680, Small),
    key(93, "6", 9060, 1680, Small),
    key(94, "1", 8220, 2100, Small),
    key(95, "2", 8640, 2100, Small),
    key(96, "3", 9060, 2100, Small),
    key(97, "0", 8220, 2520, V825, 870),
    key(98, ".", 9060, 2520, Small),
    key(99, "+", 9480, 1260, V825, kKey, 870),
    key(100, "E", 9480, 2100, V825, kKey, 870),
}};

constexpr std::array<int, 7> kVoidSlots{40, 64, 69, 70, 71, 72, 84};

constexpr std::array<std::string_view, 5> kShapes{"", "15w", "2w", "2h", "Spaceb"};

// Left, top, width, height inside fraMouse: left, right and middle button,
// wheel up and wheel down (the wheel lies over the middle button).
constexpr std::array<TwipsRect, 5> kMouseAreas{{
    {120, 240, 555, 795},
    {975, 255, 585, 780},
    {705, 360, 240, 675},
    {720, 465, 210, 225},
    {720, 690, 210, 225},
}};

// Side buttons inside fraMouse, on the straight part of the body's left edge
// below the seam: the back button lower, the forward button above it.
constexpr std::array<TwipsRect, kSideButtonCount> kSideAreas{{
    {110, 1320, 190, 225},
    {110, 1085, 190, 225},
}};
constexpr std::array<std::string_view, kSideButtonCount> kSideNames{"mouse4", "mouse5"};

constexpr std::array<int, 4> kJoyLefts{60, 420, 780, 1140};
constexpr std::array<int, 3> kLightLefts{8340, 9000, 9600};
constexpr std::array<int, 3> kLockLabelLefts{8280, 8940, 9540};
constexpr std::array<int, 3> kLockLabelWidths{300, 330, 255};
constexpr std::array<std::string_view, 3> kLockCaptions{"NUM", "CAPS", "SCR"};

// Frame sizes: the keys reach 9930 twips across and 2970 down; the mouse
// frame holds the mouse picture with its buttons and, below it, the joystick.
constexpr TwipsRect kKeyboardFrame{0, 0, 10065, 3090};
constexpr TwipsRect kMouseFrame{0, 0, 1680, 3090};
constexpr TwipsRect kMousePicture{105, 225, 1470, 2040};
constexpr TwipsRect kJoyFrame{90, 2460, 1500, 540};

} // namespace

SlotDevice DeviceOfSlot(int slot)
{
    if (slot < 0 || slot >= kPanelSlotCount)
        return SlotDevice::None;
    if (slot <= kLastKeySlot)
        return SlotDevice::Keyboard;
    if (slot <= kLastMouseSlot)
        return SlotDevice::Mouse;
    return SlotDevice::Joystick;
}

bool IsVoidSlot(int slot)
{
    return std::find(kVoidSlots.begin(), kVoidSlots.end(), slot) != kVoidSlots.end();
}

std::span<const int> VoidSlots()
{
    return kVoidSlots;
}

std::string_view KeyShapeSuffix(int slot)
{
    switch (slot) {
    case 27: case 40: case 66: case 67: case 69: case 70:
        return "15w";
    case 26: case 52: case 53: case 64: case 97:
        return "2w";
    case 99: case 100:
        return "2h";
    case 68:
        return "Spaceb";
    default:
        return "";
    }
}

std::span<const std::string_view> KeyShapeSuffixes()
{
    return kShapes;
}

CaptionFontSpec CaptionFontOf(CaptionFont font)
{
    switch (font) {
    case CaptionFont::Verdana6:
        return {"Verdana", 6.0};
    case CaptionFont::Verdana825:
        return {"Verdana", 8.25};
    case CaptionFont::Verdana975:
        return {"Verdana", 9.75};
    case CaptionFont::SmallFonts675:
    default:
        return {"Small Fonts", 6.75};
    }
}

std::span<const KeyLayout> KeyboardLayout()
{
    return kKeys;
}

std::span<const TwipsRect> MouseButtonAreas()
{
    return kMouseAreas;
}

TwipsRect MouseButtonArea(int slot)
{
    if (slot < kFirstMouseSlot || slot > kLastMouseSlot)
        return {};
    return kMouseAreas[static_cast<std::size_t>(slot - kFirstMouseSlot)];
}

TwipsRect SideButtonArea(int index)
{
    if (index < 0 || index >= kSideButtonCount)
        return {};
    return kSideAreas[static_cast<std::size_t>(index)];
}

std::string_view SideButtonKeyName(int index)
{
    if (index < 0 || index >= kSideButtonCount)
        return {};
    return kSideNames[static_cast<std::size_t>(index)];
}

TwipsRect JoyButtonRect(int slot)
{
    if (slot < kFirstJoySlot || slot > kLastJoySlot)
        return {};
    return {kJoyLefts[static_cast<std::size_t>(slot - kFirstJoySlot)], 120, 300, 300};
}

TwipsRect JoyLabelRect()
{
    return {105, 75, 75, 165};
}

TwipsRect LockLightRect(int index)
{
    if (index < 0 || index > 2)
        return {};
    return {kLightLefts[static_cast<std::size_t>(index)], 420, 180, 90};
}

TwipsRect LockLabelRect(int index)
{
    if (index < 0 || index > 2)
        return {};
    const auto i = static_cast<std::size_t>(index);
    return {kLockLabelLefts[i], 540, kLockLabelWidths[i], 150};
}

std::string_view LockLabelCaption(int index)
{
    if (index < 0 || index > 2)
        return {};
    return kLockCaptions[static_cast<std::size_t>(index)];
}

TwipsRect KeyboardFrameRect()
{
    return kKeyboardFrame;
}

TwipsRect MouseFrameRect()
{
    return kMouseFrame;
}

TwipsRect MousePictureRect()
{
    return kMousePicture;
}

TwipsRect JoyFrameRect()
{
    return kJoyFrame;
}

FrameLefts CentreFrames(int containerWidth, int keyboardWidth, int mouseWidth, int gap)
{
    const int keyboard = std::max(0, (containerWidth - (keyboardWidth + mouseWidth + gap)) / 2);
    return {keyboard, keyboard + keyboardWidth + gap, keyboard};
}

int TwipsToPixels(int twips, double dpi)
{
    if (!(dpi > 0))
        dpi = 96.0;
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

} // namespace varkel
