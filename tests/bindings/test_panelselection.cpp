// The device panel's pictures and selection rules without widgets: what the
// setters may change, what a click selects, what leaving restores.

#include "bindings/devicepanelmodel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using namespace varkel;

namespace {

class PanelSelection : public ::testing::Test
{
protected:
    void SetUp() override
    {
        model.onPictureChanged = [this](int slot) { changed.push_back(slot); };
    }

    DevicePanelModel model;
    std::vector<int> changed;
};

} // namespace

TEST_F(PanelSelection, SettersRouteByDeviceAndSpareTheVoidKeys)
{
    for (int slot = 0; slot < kPanelSlotCount; ++slot)
        EXPECT_EQ(model.State(slot), IsVoidSlot(slot) ? KeyPicture::Void : KeyPicture::Off) << slot;
    EXPECT_EQ(model.Picture(110), "");
    model.SetKeyOn(30);
    model.SetKeyCON(104);
    model.SetKeyOn(107);
    EXPECT_EQ(model.Picture(30), "imgKeyOn");
    EXPECT_EQ(model.Picture(104), "imgMouseWheelUP_CON");
    EXPECT_EQ(model.Picture(107), "imgJOY_On");
    for (int slot : VoidSlots()) {
        model.SetKeyOn(slot);
        model.SetKeyCON(slot);
        model.SetKeyOff(slot);
        EXPECT_EQ(model.State(slot), KeyPicture::Void) << slot;
    }
    // Highlighting does reach a void key; a mouse button has no HL picture.
    model.SetKeyHL(40);
    EXPECT_EQ(model.Picture(40), "imgKeyHL15w");
    model.SetKeyOn(101);
    model.SetKeyHL(101);
    EXPECT_EQ(model.Picture(101), "imgMouseOnLtBut");

    changed.clear();
    model.SetKeyOn(-1);
    model.SetKeyOn(110);
    model.SetKeyHL(200);
    model.SetKeyOn(30); // already On
    EXPECT_TRUE(changed.empty());
}

TEST_F(PanelSelection, SelectingRestoresThePreviousKey)
{
    model.SetKeyCON(30);
    model.SetKeyOn(31);
    model.SelectSlot(30);
    EXPECT_EQ(model.State(30), KeyPicture::HL);
    EXPECT_EQ(model.SelectedSlot(), 30);
    // Normally the first key loses the focus (RestoreKeyState) before the
    // second is clicked ...
    model.RestoreKeyState();
    EXPECT_EQ(model.State(30), KeyPicture::CON);
    model.SelectSlot(31);
    // ... and when it did not, selecting restores it anyway: never two HL.
    model.SelectSlot(32);
    EXPECT_EQ(model.State(31), KeyPicture::On);
    EXPECT_EQ(model.State(32), KeyPicture::HL);
    model.RestoreKeyState();
    EXPECT_EQ(model.State(32), KeyPicture::Off);
    EXPECT_EQ(model.SelectedSlot(), -1);

    // The same key twice keeps the first saved picture.
    model.SetKeyOn(26);
    model.SelectSlot(26);
    model.SelectSlot(26);
    EXPECT_EQ(model.SavedPicture(), "imgKeyOn2w");
    model.RestoreKeyState();
    EXPECT_EQ(model.Picture(26), "imgKeyOn2w");
    // Restoring with nothing selected changes nothing.
    changed.clear();
    model.RestoreKeyState();
    EXPECT_TRUE(changed.empty());

    // Resetting forgets the selection but leaves the picture.
    model.SelectSlot(10);
    model.ResetSelection();
    EXPECT_EQ(model.SelectedSlot(), -1);
    EXPECT_EQ(model.State(10), KeyPicture::HL);
    model.SelectSlot(-3);
    model.SelectSlot(110);
    EXPECT_EQ(model.ClickedSlot(), 10);
}

TEST_F(PanelSelection, MouseButtonsToggleAsOneGroup)
{
    EXPECT_TRUE(model.ClickMouseButton(101));
    EXPECT_TRUE(model.ClickMouseButton(103));
    EXPECT_FALSE(model.Pressed(101));
    // A second click releases it and reports so.
    EXPECT_FALSE(model.ClickMouseButton(103));
    EXPECT_FALSE(model.Pressed(103));
    EXPECT_FALSE(model.ClickMouseButton(30));
    EXPECT_FALSE(model.ClickMouseButton(106));

    // A selected mouse button keeps its picture; a key clicked next releases it.
    model.SetKeyCON(102);
    model.SetKeyOn(41);
    model.SelectSlot(41);
    ASSERT_TRUE(model.ClickMouseButton(102));
    changed.clear();
    model.SelectSlot(102);
    EXPECT_EQ(model.State(41), KeyPicture::On);
    EXPECT_EQ(model.SelectedSlot(), 102);
    EXPECT_EQ(model.SavedPicture(), "imgMouseCONRtBut");
    EXPECT_EQ(std::count(changed.begin(), changed.end(), 102), 0);
    model.SelectSlot(5);
    EXPECT_FALSE(model.Pressed(102));
    EXPECT_EQ(model.Picture(102), "imgMouseCONRtBut");

    // So does a joystick button, which is highlighted.
    model.SetKeyOn(108);
    ASSERT_TRUE(model.ClickMouseButton(104));
    model.SelectSlot(108);
    EXPECT_FALSE(model.Pressed(104));
    EXPECT_EQ(model.Picture(108), "imgJOY_HL");
    model.RestoreKeyState();
    EXPECT_EQ(model.Picture(108), "imgJOY_On");
}

TEST_F(PanelSelection, ClearingTurnsEverythingOff)
{
    model.SetKeyOn(1);
    model.SetKeyCON(2);
    model.SetKeyCON(109);
    model.SelectSlot(2);
    model.ClickMouseButton(105);
    model.ClearKeyStates();
    for (int slot = 0; slot < kPanelSlotCount; ++slot) {
        EXPECT_EQ(model.State(slot), IsVoidSlot(slot) ? KeyPicture::Void : KeyPicture::Off) << slot;
        EXPECT_FALSE(model.Pressed(slot)) << slot;
    }
    EXPECT_EQ(model.SelectedSlot(), -1);
    // The old selection is gone: restoring now must not bring HL or CON back.
    model.RestoreKeyState();
    EXPECT_EQ(model.State(2), KeyPicture::Off);
}
