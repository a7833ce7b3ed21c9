// The device panel's layout table and picture names: every slot has its
// control in the right place, nothing overlaps that should not, and every
// picture a setter can ask for lives in the image list the panel looks in.

#include "bindings/devicelayout.h"
#include "bindings/imagekeys.h"

#include <gtest/gtest.h>

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

} // namespace

TEST(DeviceLayout, EverySlotHasOneControlOfItsShape)
{
    const auto keys = KeyboardLayout();
    ASSERT_EQ(keys.size(), 101u);
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(keys[i].slot, static_cast<int>(i)) << "keyboard table out of slot order at " << i;
    for (int slot = -1; slot <= kPanelSlotCount; ++slot) {
        const SlotDevice expected = slot < 0 || slot >= kPanelSlotCount ? SlotDevice::None
                                    : slot <= kLastKeySlot               ? SlotDevice::Keyboard
                                    : slot <= kLastMouseSlot             ? SlotDevice::Mouse
                                                                         : SlotDevice::Joystick;
        EXPECT_EQ(DeviceOfSlot(slot), expected) << slot;
    }
    const std::set<int> voids(VoidSlots().begin(), VoidSlots().end());
    EXPECT_EQ(voids, (std::set<int>{40, 64, 69, 70, 71, 72, 84}));
    for (int slot = -1; slot <= 110; ++slot)
        EXPECT_EQ(IsVoidSlot(slot), voids.count(slot) == 1) << slot;

    // The shape of a key's picture agrees with the size the table gives it.
    for (const KeyLayout &k : keys) {
        const std::string_view shape = KeyShapeSuffix(k.slot);
        if (shape.empty())
            EXPECT_TRUE(k.rect.width == 450 && k.rect.height == 450) << k.slot;
        else if (shape == "2h")
            EXPECT_TRUE(k.rect.width == 450 && k.rect.height == 870) << k.slot;
        else
            EXPECT_GT(k.rect.width, 450) << k.slot;
    }
}

TEST(DeviceLayout, CapsDoNotOverlapAndStayInTheirFrames)
{
    // Keys overlap by 30 twips on their 420-twip pitch; the caps inside do not.
    std::vector<std::pair<std::string, TwipsRect>> items;
    for (const KeyLayout &k : KeyboardLayout())
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
    EXPECT_TRUE(inside(MousePictureRect(), mouseFrame) && inside(JoyFrameRect(), mouseFrame));
    EXPECT_FALSE(intersects(MousePictureRect(), JoyFrameRect()));
    for (int slot = kFirstMouseSlot; slot <= kLastMouseSlot; ++slot)
        EXPECT_TRUE(inside(MouseButtonArea(slot), MousePictureRect())) << slot;
    // Left, right and middle button do not overlap; the wheel lies on the middle one.
    EXPECT_FALSE(intersects(MouseButtonArea(101), MouseButtonArea(103)));
    EXPECT_FALSE(intersects(MouseButtonArea(102), MouseButtonArea(103)));
    EXPECT_TRUE(inside(MouseButtonArea(104), MouseButtonArea(103)) && inside(MouseButtonArea(105), MouseButtonArea(103)));
    EXPECT_FALSE(intersects(MouseButtonArea(104), MouseButtonArea(105)));

    const TwipsRect joyFrame{0, 0, JoyFrameRect().width, JoyFrameRect().height};
    for (int slot = kFirstJoySlot; slot <= kLastJoySlot; ++slot) {
        EXPECT_TRUE(inside(JoyButtonRect(slot), joyFrame)) << slot;
        EXPECT_FALSE(slot > kFirstJoySlot && intersects(JoyButtonRect(slot - 1), JoyButtonRect(slot))) << slot;
    }
    EXPECT_EQ(JoyButtonRect(105).width, 0);
}

TEST(DeviceLayout, ScalesWithTheScreenAndCentresTheFrames)
{
    EXPECT_EQ(TwipsToPixels(450, 96), 30);
    EXPECT_EQ(TwipsToPixels(450, 120), 38); // 37.5 rounds up
    EXPECT_EQ(TwipsToPixels(0, 96), 0);
    // A screen that reports no DPI is taken as 96.
    EXPECT_EQ(TwipsToPixels(450, 0), 30);
    EXPECT_EQ(TwipsToPixels(450, -5), 30);
    for (const KeyLayout &k : KeyboardLayout())
        EXPECT_EQ(TwipsToPixels(k.rect.width, 192), 2 * TwipsToPixels(k.rect.width, 96)) << k.slot;

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

TEST(ImageKeys, EveryPictureASetterPicksIsInItsList)
{
    EXPECT_EQ(ImageKeyFor(26, KeyPicture::CON), "imgKeyCON2w");
    EXPECT_EQ(ImageKeyFor(68, KeyPicture::CON), "imgKeyCONSpaceb");
    // Void keys are highlighted by their shape too.
    EXPECT_EQ(ImageKeyFor(40, KeyPicture::HL), "imgKeyHL15w");
    EXPECT_EQ(ImageKeyFor(84, KeyPicture::HL), "imgKeyHL");
    EXPECT_EQ(ImageKeyFor(104, KeyPicture::On), "imgMouseWheelUP_On");
    EXPECT_EQ(ImageKeyFor(-1, KeyPicture::On), "");
    EXPECT_EQ(ImageKeyFor(110, KeyPicture::On), "");

    std::set<std::string, std::less<>> all;
    for (std::string_view list : ImageListNames())
        for (const std::string &key : ImageListKeys(list)) {
            EXPECT_EQ(ImageListOf(key), list) << key;
            EXPECT_TRUE(all.insert(key).second) << key << " in two lists";
        }
    EXPECT_TRUE(ImageListKeys("ilsNothing").empty());
    EXPECT_TRUE(all.count(LockLightImageKey(true)) && all.count(LockLightImageKey(false)));

    // Whatever a setter can show comes from the list the panel looks in.
    for (int slot = 0; slot < kPanelSlotCount; ++slot) {
        for (KeyPicture state : {KeyPicture::Off, KeyPicture::On, KeyPicture::HL, KeyPicture::CON}) {
            const std::string key = ImageKeyFor(slot, state);
            if (key.empty()) {
                // Only mouse buttons have no highlighted picture.
                EXPECT_TRUE(DeviceOfSlot(slot) == SlotDevice::Mouse && state == KeyPicture::HL) << slot;
                continue;
            }
            const std::string_view expected = slot > kLastKeySlot         ? "ilsMouse"
                                              : state == KeyPicture::Off ? "ilsKeyOff"
                                                                         : "ilsKeyOn";
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
    EXPECT_EQ(PanelToolTip("f", ""), "f = \"\"");
    EXPECT_EQ(PanelToolTip("t", "say \"hi\""), "t = \"say \"hi\"\"");
    EXPECT_EQ(BindingSearchFor(25, "+"), BindingSearch::HandleDupKeys);
    EXPECT_EQ(BindingSearchFor(13, "`"), BindingSearch::HandleDupKeys);
    EXPECT_EQ(BindingSearchFor(99, "kp_plus"), BindingSearch::FindBinding);
    EXPECT_EQ(BindingSearchFor(101, "mouse1"), BindingSearch::FindBinding);
}
