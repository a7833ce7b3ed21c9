#include "bindings/imagekeys.h"

#include "bindings/devicelayout.h"

#include <array>
#include <unordered_map>

namespace varkel {

namespace {

constexpr std::array<std::string_view, 3> kMouseParts{"LtBut", "RtBut", "MidBut"};

std::string_view keyStateWord(KeyPicture state)
{
    switch (state) {
    case KeyPicture::Off: return "Off";
    case KeyPicture::On: return "On";
    case KeyPicture::HL: return "HL";
    case KeyPicture::CON: return "CON";
    case KeyPicture::Void: return "Void";
    }
    return "Off";
}

std::string concat(std::string_view a, std::string_view b, std::string_view c = {})
{
    std::string s;
    s.reserve(a.size() + b.size() + c.size());
    s.append(a).append(b).append(c);
    return s;
}

bool startsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

} // namespace

std::string ImageKeyFor(int slot, KeyPicture state)
{
    switch (DeviceOfSlot(slot)) {
    case SlotDevice::Keyboard:
        return concat("imgKey", keyStateWord(state), KeyShapeSuffix(slot));
    case SlotDevice::Mouse:
        if (state == KeyPicture::HL || state == KeyPicture::Void)
            return {};
        if (slot == 104)
            return concat("imgMouseWheelUP_", keyStateWord(state));
        if (slot == 105)
            return concat("imgMouseWheelDN_", keyStateWord(state));
        return concat("imgMouse", keyStateWord(state), kMouseParts[static_cast<std::size_t>(slot - kFirstMouseSlot)]);
    case SlotDevice::Joystick:
        switch (state) {
        case KeyPicture::Off: return "imgJOY_Off";
        case KeyPicture::On: return "imgJOY_On";
        case KeyPicture::HL: return "imgJOY_HL";
        case KeyPicture::CON: return "imgJOY_Con";
        case KeyPicture::Void: return {};
        }
        return {};
    case SlotDevice::None:
        break;
    }
    return {};
}

std::optional<KeyPicture> PictureOfImageKey(std::string_view key)
{
    // Every picture key there is, built once.
    static const std::unordered_map<std::string, KeyPicture> table = [] {
        std::unordered_map<std::string, KeyPicture> map;
        for (KeyPicture state : {KeyPicture::Off, KeyPicture::On, KeyPicture::HL, KeyPicture::CON, KeyPicture::Void})
            for (std::string_view shape : KeyShapeSuffixes())
                map.emplace(concat("imgKey", keyStateWord(state), shape), state);
        for (int slot = kFirstMouseSlot; slot <= kLastJoySlot; ++slot)
            for (KeyPicture state : {KeyPicture::Off, KeyPicture::On, KeyPicture::HL, KeyPicture::CON})
                if (std::string name = ImageKeyFor(slot, state); !name.empty())
                    map.emplace(std::move(name), state);
        return map;
    }();
    const auto it = table.find(std::string(key));
    if (it == table.end())
        return std::nullopt;
    return it->second;
}

std::string_view ImageListOf(std::string_view key)
{
    const std::optional<KeyPicture> state = PictureOfImageKey(key);
    if (state) {
        if (*state == KeyPicture::Void)
            return {};
        if (startsWith(key, "imgKey"))
            return *state == KeyPicture::Off ? "ilsKeyOff" : "ilsKeyOn";
        return "ilsMouse";
    }
    if (key == LockLightImageKey(true) || key == LockLightImageKey(false))
        return "ilsLEDs";
    return {};
}

std::vector<std::string> ImageListKeys(std::string_view list)
{
    std::vector<std::string> keys;
    if (list == "ilsKeyOff" || list == "ilsKeyOn") {
        const bool off = list == "ilsKeyOff";
        for (KeyPicture state : {KeyPicture::Off, KeyPicture::On, KeyPicture::HL, KeyPicture::CON}) {
            if ((state == KeyPicture::Off) != off)
                continue;
            for (std::string_view shape : KeyShapeSuffixes())
                keys.push_back(concat("imgKey", keyStateWord(state), shape));
        }
    } else if (list == "ilsMouse") {
        for (int slot = kFirstMouseSlot; slot <= kLastMouseSlot; ++slot)
            for (KeyPicture state : {KeyPicture::Off, KeyPicture::On, KeyPicture::CON})
                keys.push_back(ImageKeyFor(slot, state));
        for (KeyPicture state : {KeyPicture::Off, KeyPicture::On, KeyPicture::HL, KeyPicture::CON})
            keys.push_back(ImageKeyFor(kFirstJoySlot, state));
    } else if (list == "ilsLEDs") {
        keys.emplace_back(LockLightImageKey(true));
        keys.emplace_back(LockLightImageKey(false));
    }
    return keys;
}

std::vector<std::string_view> ImageListNames()
{
    return {"ilsKeyOff", "ilsKeyOn", "ilsMouse", "ilsLEDs"};
}

std::string_view LockLightImageKey(bool on)
{
    return on ? "imgLEDSquareGrn_On" : "imgLEDSquare_Off";
}

std::string PanelToolTip(std::string_view keyName, std::string_view boundText)
{
    std::string tip;
    tip.reserve(keyName.size() + boundText.size() + 5);
    tip.append(keyName).append(" = \"").append(boundText).append("\"");
    return tip;
}

BindingSearch BindingSearchFor(int slot, std::string_view keyName)
{
    if (DeviceOfSlot(slot) == SlotDevice::Keyboard && (keyName == "+" || keyName == "`"))
        return BindingSearch::HandleDupKeys;
    return BindingSearch::FindBinding;
}

} // namespace varkel
