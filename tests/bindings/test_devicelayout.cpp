// The device panel's layout table and picture names: every slot has its
// control in the right place, nothing overlaps that should not, and every
// picture a setter can ask for lives in the image list the panel looks in.

#include "bindings/devicelayout.h"
#include "bindings/imagekeys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace varkel;

namespace {

TwipsRect inset(const TwipsRect &r, int by)
{
    return {r.left + by, r.top + by, r.width - 2 * by, r.height - 2 * by};
}

bool intersects(const TwipsRect &a, const TwipsRect &b)
{
    return a.left < b.right() && b.left < a.right() && a.top < b.bottom() && b.top < a.bottom();
}

bool inside(const TwipsRect &inner, const TwipsRect &outer)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right() <= outer.right() &&
           inner.bottom() <= outer.bottom();
}

const std::vector<KeyPicture> kStates{KeyPicture::Off, KeyPicture::On, KeyPicture::HL, KeyPicture::CON};

} // namespace

TEST(DeviceLayout, EverySlotHasOneControl)
{
    const auto keys = KeyboardLayout();
    ASSERT_EQ(keys.size(), 101u);
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(keys[i].slot, static_cast<int>(i)) << "keyboard table out of slot order at " << i;
    EXPECT_EQ(MouseButtonAreas().size(), 5u);

    int keyboard = 0, mouse = 0, joystick = 0;
    for (int slot = 0; slot < kPanelSlotCount; ++slot) {
        switch (DeviceOfSlot(slot)) {
        case SlotDevice::Keyboard: ++keyboard; break;
        case SlotDevice::Mouse: ++mouse; break;
        case SlotDevice::Joystick: ++joystick; break;
        case SlotDevice::None: ADD_FAILURE() << slot; break;
        }
    }
    EXPECT_EQ(keyboard, 101);
    EXPECT_EQ(mouse, 5);
    EXPECT_EQ(joystick, 4);
    EXPECT_EQ(DeviceOfSlot(-1), SlotDevice::None);
    EXPECT_EQ(DeviceOfSlot(110), SlotDevice::None);
}

TEST(DeviceLayout, VoidKeysAndShapes)
{
    const std::set<int> voids(VoidSlots().begin(), VoidSlots().end());
    EXPECT_EQ(voids, (std::set<int>{40, 64, 69, 70, 71, 72, 84}));
    for (int slot = -1; slot <= 110; ++slot)
        EXPECT_EQ(IsVoidSlot(slot), voids.count(slot) == 1) << slot;

    std::map<std::string, std::set<int>> byShape;
    for (int slot = 0; slot <= kLastKeySlot; ++slot)
        byShape[std::string(KeyShapeSuffix(slot))].insert(slot);
    EXPECT_EQ(byShape["15w"], (std::set<int>{27, 40, 66, 67, 69, 70}));
    EXPECT_EQ(byShape["2w"], (std::set<int>{26, 52, 53, 64, 97}));
    EXPECT_EQ(byShape["2h"], (std::set<int>{99, 100}));
    EXPECT_EQ(byShape["Spaceb"], (std::set<int>{68}));
    EXPECT_EQ(byShape[""].size(), 101u - 14u);
    EXPECT_EQ(KeyShapeSuffix(101), "");

    // The shape agrees with the size the table gives the key.
    for (const KeyLayout &k : KeyboardLayout()) {
        const std::string_view shape = KeyShapeSuffix(k.slot);
        if (shape.empty()) {
            EXPECT_TRUE(k.rect.width == 450 && k.rect.height == 450) << k.slot;
        } else if (shape == "2h") {
            EXPECT_TRUE(k.rect.width == 450 && k.rect.height == 870) << k.slot;
        } else {
            EXPECT_GT(k.rect.width, 450) << k.slot;
        }
    }
}

TEST(DeviceLayout, KeysAsDesigned)
{
    const auto keys = KeyboardLayout();
    const auto at = [&](int slot) { return keys[static_cast<std::size_t>(slot)]; };
    EXPECT_EQ(at(0).caption, "Esc");
    EXPECT_EQ(at(13).caption, "~");
    EXPECT_EQ(at(25).caption, "+");
    EXPECT_EQ(at(68).caption, "");
    EXPECT_EQ(at(100).caption, "E");
    // Every key of a row shares its top.
    for (int slot : {27, 28, 34, 35, 36, 39, 77, 90, 99})
        EXPECT_EQ(at(slot).rect.top, 1260) << slot;
    EXPECT_EQ(at(68).rect.left, 1470);
    EXPECT_EQ(at(68).rect.width, 3630);
    EXPECT_EQ(at(67).rect.width, 705);
    EXPECT_EQ(at(66).rect.width, 645);

    EXPECT_EQ(at(1).font, CaptionFont::SmallFonts675);
    for (int slot : {26, 27, 40})
        EXPECT_EQ(at(slot).font, CaptionFont::Verdana6) << slot;
    for (int slot : {24, 25, 87})
        EXPECT_EQ(at(slot).font, CaptionFont::Verdana975) << slot;
    for (int slot : {52, 53, 63, 64, 65, 66, 67, 68, 69, 70, 80, 81, 83, 85, 86, 97, 99, 100})
        EXPECT_EQ(at(slot).font, CaptionFont::Verdana825) << slot;
    EXPECT_EQ(at(82).font, CaptionFont::SmallFonts675);
    EXPECT_EQ(CaptionFontOf(CaptionFont::Verdana825).family, "Verdana");
    EXPECT_DOUBLE_EQ(CaptionFontOf(CaptionFont::Verdana825).pointSize, 8.25);
    EXPECT_EQ(CaptionFontOf(CaptionFont::SmallFonts675).family, "Small Fonts");
}

TEST(DeviceLayout, CapsDoNotOverlapAndStayInTheirFrames)
{
    // Keys overlap by 30 twips on their 420-twip pitch; the caps inside do not.
    const auto keys = KeyboardLayout();
    std::vector<std::pair<std::string, TwipsRect>> items;
    for (const KeyLayout &k : keys)
        items.emplace_back("key " + std::to_string(k.slot), inset(k.rect, 30));
    for (int i = 0; i < 3; ++i) {
        items.emplace_back("light " + std::to_string(i), LockLightRect(i));
        items.emplace_back("lock label " + std::to_string(i), LockLabelRect(i));
    }
    for (std::size_t a = 0; a < items.size(); ++a) {
        EXPECT_TRUE(inside(items[a].second, KeyboardFrameRect())) << items[a].first;
        for (std::size_t b = a + 1; b < items.size(); ++b)
            EXPECT_FALSE(intersects(items[a].second, items[b].second)) << items[a].first << " / " << items[b].first;
    }

    const TwipsRect mouseFrame = MouseFrameRect();
    EXPECT_EQ(mouseFrame.height, KeyboardFrameRect().height);
    EXPECT_TRUE(inside(MousePictureRect(), mouseFrame));
    EXPECT_TRUE(inside(JoyFrameRect(), mouseFrame));
    EXPECT_FALSE(intersects(MousePictureRect(), JoyFrameRect()));
    for (int slot = kFirstMouseSlot; slot <= kLastMouseSlot; ++slot)
        EXPECT_TRUE(inside(MouseButtonArea(slot), MousePictureRect())) << slot;
    // Left, right and middle button do not overlap; the wheel lies on the middle one.
    EXPECT_FALSE(intersects(MouseButtonArea(101), MouseButtonArea(103)));
    EXPECT_FALSE(intersects(MouseButtonArea(102), MouseButtonArea(103)));
    EXPECT_TRUE(inside(MouseButtonArea(104), MouseButtonArea(103)));
    EXPECT_TRUE(inside(MouseButtonArea(105), MouseButtonArea(103)));
    EXPECT_FALSE(intersects(MouseButtonArea(104), MouseButtonArea(105)));

    const TwipsRect joyFrame{0, 0, JoyFrameRect().width, JoyFrameRect().height};
    for (int slot = kFirstJoySlot; slot <= kLastJoySlot; ++slot) {
        EXPECT_TRUE(inside(JoyButtonRect(slot), joyFrame)) << slot;
        if (slot > kFirstJoySlot) {
            EXPECT_FALSE(intersects(JoyButtonRect(slot - 1), JoyButtonRect(slot))) << slot;
        }
    }
    EXPECT_TRUE(inside(JoyLabelRect(), TwipsRect{0, 0, 300, 300}));
    EXPECT_EQ(JoyButtonRect(105).width, 0);
    EXPECT_EQ(LockLabelCaption(0), "NUM");
    EXPECT_EQ(LockLabelCaption(1), "CAPS");
    EXPECT_EQ(LockLabelCaption(2), "SCR");
    EXPECT_EQ(LockLabelCaption(3), "");
}

TEST(DeviceLayout, ScalesWithTheScreen)
{
    EXPECT_EQ(TwipsToPixels(450, 96), 30);
    EXPECT_EQ(TwipsToPixels(450, 120), 38); // 37.5 rounds up
    EXPECT_EQ(TwipsToPixels(450, 144), 45);
    EXPECT_EQ(TwipsToPixels(450, 192), 60);
    EXPECT_EQ(TwipsToPixels(1275, 96), 85);
    EXPECT_EQ(TwipsToPixels(3630, 96), 242);
    EXPECT_EQ(TwipsToPixels(0, 96), 0);
    // A screen that reports no DPI is taken as 96.
    EXPECT_EQ(TwipsToPixels(450, 0), 30);
    EXPECT_EQ(TwipsToPixels(450, -5), 30);
    // Twice the DPI, twice the size, for every key.
    for (const KeyLayout &k : KeyboardLayout())
        EXPECT_EQ(TwipsToPixels(k.rect.width, 192), 2 * TwipsToPixels(k.rect.width, 96)) << k.slot;
}

TEST(DeviceLayout, FramesCentredAsAPair)
{
    const FrameLefts l = CentreFrames(1000, 600, 100, 7);
    EXPECT_EQ(l.keyboard, (1000 - 707) / 2);
    EXPECT_EQ(l.mouse, l.keyboard + 600 + 7);
    EXPECT_EQ(l.binding, l.keyboard);
    // Exactly wide enough: flush left; narrower: the keyboard stays visible.
    EXPECT_EQ(CentreFrames(707, 600, 100, 7).keyboard, 0);
    const FrameLefts narrow = CentreFrames(300, 600, 100, 7);
    EXPECT_EQ(narrow.keyboard, 0);
    EXPECT_EQ(narrow.mouse, 607);
}

TEST(ImageKeys, AsTheSettersPickThem)
{
    EXPECT_EQ(ImageKeyFor(0, KeyPicture::Off), "imgKeyOff");
    EXPECT_EQ(ImageKeyFor(0, KeyPicture::HL), "imgKeyHL");
    EXPECT_EQ(ImageKeyFor(27, KeyPicture::On), "imgKeyOn15w");
    EXPECT_EQ(ImageKeyFor(26, KeyPicture::CON), "imgKeyCON2w");
    EXPECT_EQ(ImageKeyFor(99, KeyPicture::Off), "imgKeyOff2h");
    EXPECT_EQ(ImageKeyFor(68, KeyPicture::CON), "imgKeyCONSpaceb");
    // Void keys are highlighted by their shape too.
    EXPECT_EQ(ImageKeyFor(40, KeyPicture::HL), "imgKeyHL15w");
    EXPECT_EQ(ImageKeyFor(69, KeyPicture::HL), "imgKeyHL15w");
    EXPECT_EQ(ImageKeyFor(64, KeyPicture::HL), "imgKeyHL2w");
    EXPECT_EQ(ImageKeyFor(84, KeyPicture::HL), "imgKeyHL");
    EXPECT_EQ(ImageKeyFor(71, KeyPicture::Void), "imgKeyVoid");

    EXPECT_EQ(ImageKeyFor(101, KeyPicture::Off), "imgMouseOffLtBut");
    EXPECT_EQ(ImageKeyFor(102, KeyPicture::CON), "imgMouseCONRtBut");
    EXPECT_EQ(ImageKeyFor(103, KeyPicture::On), "imgMouseOnMidBut");
    EXPECT_EQ(ImageKeyFor(104, KeyPicture::On), "imgMouseWheelUP_On");
    EXPECT_EQ(ImageKeyFor(105, KeyPicture::CON), "imgMouseWheelDN_CON");
    for (int slot = kFirstMouseSlot; slot <= kLastMouseSlot; ++slot)
        EXPECT_EQ(ImageKeyFor(slot, KeyPicture::HL), "") << "mouse buttons have no HL picture";

    for (int slot = kFirstJoySlot; slot <= kLastJoySlot; ++slot) {
        EXPECT_EQ(ImageKeyFor(slot, KeyPicture::Off), "imgJOY_Off");
        EXPECT_EQ(ImageKeyFor(slot, KeyPicture::HL), "imgJOY_HL");
        EXPECT_EQ(ImageKeyFor(slot, KeyPicture::CON), "imgJOY_Con");
    }
    EXPECT_EQ(ImageKeyFor(-1, KeyPicture::On), "");
    EXPECT_EQ(ImageKeyFor(110, KeyPicture::On), "");

    EXPECT_EQ(LockLightImageKey(true), "imgLEDSquareGrn_On");
    EXPECT_EQ(LockLightImageKey(false), "imgLEDSquare_Off");
}

TEST(ImageKeys, EveryPictureIsInItsList)
{
    const std::map<std::string_view, std::size_t> sizes{
        {"ilsKeyOff", 5}, {"ilsKeyOn", 15}, {"ilsMouse", 19}, {"ilsLEDs", 2}};
    std::set<std::string> all;
    for (std::string_view list : ImageListNames()) {
        const std::vector<std::string> keys = ImageListKeys(list);
        EXPECT_EQ(keys.size(), sizes.at(list)) << list;
        for (const std::string &key : keys) {
            EXPECT_EQ(ImageListOf(key), list) << key;
            EXPECT_TRUE(all.insert(key).second) << key << " in two lists";
        }
    }
    EXPECT_TRUE(ImageListKeys("ilsNothing").empty());

    // Whatever a setter can show comes from the list the panel looks in.
    for (int slot = 0; slot < kPanelSlotCount; ++slot) {
        for (KeyPicture state : kStates) {
            const std::string key = ImageKeyFor(slot, state);
            if (key.empty())
                continue;
            EXPECT_TRUE(all.count(key)) << key;
            const bool keyboard = slot <= kLastKeySlot;
            const std::string_view expected =
                !keyboard ? "ilsMouse" : state == KeyPicture::Off ? "ilsKeyOff" : "ilsKeyOn";
            EXPECT_EQ(ImageListOf(key), expected) << key;
            EXPECT_EQ(PictureOfImageKey(key), state) << key;
        }
    }
    // The void pictures belong to no list.
    EXPECT_EQ(ImageListOf("imgKeyVoid15w"), "");
    EXPECT_EQ(PictureOfImageKey("imgKeyVoid2w"), KeyPicture::Void);
    EXPECT_EQ(PictureOfImageKey("imgKeyOn3w"), std::nullopt);
    EXPECT_EQ(PictureOfImageKey("imgMouseHLLtBut"), std::nullopt);
    EXPECT_EQ(PictureOfImageKey(""), std::nullopt);
}

TEST(ImageKeys, ToolTipAndBindingSearch)
{
    EXPECT_EQ(PanelToolTip("mouse1", "+attack"), "mouse1 = \"+attack\"");
    EXPECT_EQ(PanelToolTip("f", ""), "f = \"\"");
    EXPECT_EQ(PanelToolTip("t", "say \"hi\""), "t = \"say \"hi\"\"");

    EXPECT_EQ(BindingSearchFor(25, "+"), BindingSearch::HandleDupKeys);
    EXPECT_EQ(BindingSearchFor(13, "`"), BindingSearch::HandleDupKeys);
    EXPECT_EQ(BindingSearchFor(99, "kp_plus"), BindingSearch::FindBinding);
    EXPECT_EQ(BindingSearchFor(30, "e"), BindingSearch::FindBinding);
    EXPECT_EQ(BindingSearchFor(101, "mouse1"), BindingSearch::FindBinding);
}
