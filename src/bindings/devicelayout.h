#pragma once
// Where everything on the input-device panel sits: the 101 keyboard keys, the
// five mouse-button areas, the four joystick buttons and the three lock
// lights, in twips (1440 to the inch) inside their frames, with the caption
// font of each key. The widget turns twips into pixels with the screen's
// logical DPI, so the panel keeps its proportions on every screen.
//
// Device slots: 0..100 keyboard keys, 101..105 mouse buttons (left, right,
// middle, wheel up, wheel down), 106..109 joystick buttons 1..4.

#include <array>
#include <span>
#include <string_view>

namespace varkel {

inline constexpr int kPanelSlotCount = 110;
inline constexpr int kLastKeySlot = 100;
inline constexpr int kFirstMouseSlot = 101;
inline constexpr int kLastMouseSlot = 105;
inline constexpr int kFirstJoySlot = 106;
inline constexpr int kLastJoySlot = 109;
inline constexpr int kTwipsPerInch = 1440;

enum class SlotDevice { None, Keyboard, Mouse, Joystick };

// The device a slot belongs to; None outside 0..109.
SlotDevice DeviceOfSlot(int slot);

// Keys the games cannot bind (Caps, right Shift, right Alt, right Ctrl, Prt,
// Scr, Num): they keep their own picture and are never enabled.
bool IsVoidSlot(int slot);
std::span<const int> VoidSlots();

// Image variant of a keyboard slot: "15w", "2w", "2h", "Spaceb" or "" (a
// plain key). Void slots have their shape too; "" for non-keyboard slots.
std::string_view KeyShapeSuffix(int slot);
// The five suffixes, plain key first.
std::span<const std::string_view> KeyShapeSuffixes();

struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int right() const { return left + width; }
    int bottom() const { return top + height; }
};

// Caption fonts of the keys as designed. The widget falls back to fonts
// present on the machine at the same point size.
enum class CaptionFont { SmallFonts675, Verdana6, Verdana825, Verdana975 };
struct CaptionFontSpec {
    std::string_view family;
    double pointSize;
};
CaptionFontSpec CaptionFontOf(CaptionFont font);

struct KeyLayout {
    int slot;
    std::string_view caption; // empty for the space bar
    TwipsRect rect;           // inside fraKeyboard
    CaptionFont font;
};

// All 101 keys, indexed by slot.
std::span<const KeyLayout> KeyboardLayout();

// Mouse-button areas inside fraMouse, indexed by slot - 101. Each lies over
// its part of the mouse picture imgMouse (MousePictureRect).
std::span<const TwipsRect> MouseButtonAreas();
TwipsRect MouseButtonArea(int slot);

// The two side buttons on the left flank of the mouse picture, for the games
// that know them: index 0 is the back button (MOUSE4), 1 the forward button
// above it (MOUSE5). They are no device slots: the panel shows them for the
// key numbers of those names where the game has them.
inline constexpr int kSideButtonCount = 2;
TwipsRect SideButtonArea(int index);
// The lower-case key name of a side button ("mouse4", "mouse5").
std::string_view SideButtonKeyName(int index);

// Joystick button slot (106..109) inside fraJoy, and its number label inside
// the button.
TwipsRect JoyButtonRect(int slot);
TwipsRect JoyLabelRect();

// Lock lights inside fraKeyboard, index 0 Num, 1 Caps, 2 Scroll: the light and
// its label; the labels read "NUM", "CAPS", "SCR".
TwipsRect LockLightRect(int index);
TwipsRect LockLabelRect(int index);
std::string_view LockLabelCaption(int index);

// The frames: fraKeyboard and fraMouse side by side, fraJoy inside fraMouse
// below the mouse picture.
TwipsRect KeyboardFrameRect(); // size only (left, top 0)
TwipsRect MouseFrameRect();    // size only
TwipsRect MousePictureRect();  // inside fraMouse
TwipsRect JoyFrameRect();      // inside fraMouse

// Gap between the keyboard and mouse frames.
inline constexpr int kFrameGapTwips = 105;

// Horizontal placement of the frames in a panel `containerWidth` wide (any
// unit, as long as all three widths use it): the keyboard and mouse frames are
// centred as a pair, the binding row starts where the keyboard does. A panel
// narrower than the pair keeps the keyboard at the left edge instead of
// pushing it out of sight.
struct FrameLefts {
    int keyboard;
    int mouse;
    int binding;
};
FrameLefts CentreFrames(int containerWidth, int keyboardWidth, int mouseWidth, int gap);

// Twips to pixels at `dpi` logical dots per inch, rounded to the nearest pixel.
int TwipsToPixels(int twips, double dpi);

} // namespace varkel
