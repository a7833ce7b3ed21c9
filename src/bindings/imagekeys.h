#pragma once
// The names of the panel's pictures. A slot's state is the picture its control
// shows, and every picture is fetched by key from one of four image lists:
//   ilsKeyOff  "imgKeyOff" + shape suffix
//   ilsKeyOn   "imgKeyOn", "imgKeyHL", "imgKeyCON" + shape suffix
//   ilsMouse   "imgMouseOff|On|CON" + "LtBut|RtBut|MidBut",
//              "imgMouseWheelUP_|imgMouseWheelDN_" + "Off|On|CON",
//              "imgJOY_Off|On|HL|Con"
//   ilsLEDs    "imgLEDSquareGrn_On", "imgLEDSquare_Off"
// The void keys show a picture of their own ("imgKeyVoid" + shape suffix)
// that belongs to no list and never changes.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace varkel {

// What a picture shows. Void is the fixed picture of a key the games cannot
// bind.
enum class KeyPicture { Off, On, HL, CON, Void };

// The picture key for a slot in a state, as the setters pick it: keyboard
// slots by their shape (void slots included), the mouse buttons by their area
// (no HL picture: empty), the joystick buttons all alike. Empty for a slot
// outside 0..109 and for KeyPicture::Void on a non-keyboard slot.
std::string ImageKeyFor(int slot, KeyPicture state);

// The state a picture key shows; nullopt for an unknown key.
std::optional<KeyPicture> PictureOfImageKey(std::string_view key);

// The image list that holds a key ("ilsKeyOff", "ilsKeyOn", "ilsMouse",
// "ilsLEDs"); empty for the void pictures and unknown keys.
std::string_view ImageListOf(std::string_view key);

// Every key of a list, in a fixed order; empty for an unknown list.
std::vector<std::string> ImageListKeys(std::string_view list);
// The four list names.
std::vector<std::string_view> ImageListNames();

// Lock light pictures.
std::string_view LockLightImageKey(bool on);

// Device-panel tool tip for a slot: key name + " = " + the bound command in
// double quotes, e.g. mouse1 = "+attack".
std::string PanelToolTip(std::string_view keyName, std::string_view boundText);

// How a left click on a slot finds its `bind` line: a keyboard key named "+"
// or with the grave accent has a second spelling ("=", "~") and goes through
// HandleDupKeys; every other slot through FindBinding.
enum class BindingSearch { FindBinding, HandleDupKeys };
BindingSearch BindingSearchFor(int slot, std::string_view keyName);

} // namespace varkel
