#include "ui/paint_picker.h"

#include <gtest/gtest.h>

#include "ui/operator_messages.h"

namespace {

constexpr quint32 kRed = 0x0000FF;

TEST(AppearancePickerTest, ColourModePaintsEachPressedListUntilNormalFunction) {
    AppearancePicker picker;
    picker.ColourConfirmed(kRed);
    for (const QString list : {"ListBoxTitles1", "ListBoxArtist", "ListBoxPrevPlayed1"}) {
        const PaintTargets targets = picker.Press(list);
        EXPECT_EQ(targets.colour, QStringList{list});
        EXPECT_EQ(targets.font, QStringList());
    }
    EXPECT_EQ(picker.Colour(), kRed);
    picker.NormalFunction();
    EXPECT_TRUE(picker.Press("ListBoxSpots2").colour.isEmpty());
}

// What a press paints in each mode, by the control pressed.
TEST(AppearancePickerTest, EachPressedControlPaintsItsTargets) {
    const QStringList programName = {"LabelRunProgram", "LabelWra2", "LabelProgramName1"};
    const struct {
        const char* pressed;
        PickMode mode;
        QStringList painted;
    } cases[] = {
        {"PanelPlayControls", PickMode::Font, {}},
        {"PanelPlayControls", PickMode::Colour, {"PanelPlayControls"}},
        {"LabelHmera1", PickMode::Colour, {"PanelTime"}},
        {"LabelTrackName1", PickMode::Colour, {"PanelTrackName1"}},
        {"PanelTrackName1", PickMode::Font, {"LabelTrackName1"}},
        {"PanelTrackName1", PickMode::TextColour, {"LabelTrackName1"}},
        {"LabelWra2", PickMode::Font, programName},
        {"LabelMessages", PickMode::Colour, {"PanelMessages"}},
        {"PanelMessages", PickMode::Font, {"LabelMessages"}},
        {"ButtonPause20", PickMode::Colour, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pressed);
        AppearancePicker picker;
        c.mode == PickMode::Colour ? picker.ColourConfirmed(kRed) : picker.FontConfirmed();
        if (c.mode == PickMode::TextColour) picker.TextColourConfirmed(kRed);
        const PaintTargets t = picker.Press(c.pressed);
        EXPECT_EQ(c.mode == PickMode::Colour ? t.colour
                  : c.mode == PickMode::Font ? t.font
                                             : t.text,
                  c.painted);
        EXPECT_EQ(t.colour.size() + t.text.size() + t.font.size(), c.painted.size());
    }
}

TEST(AppearancePickerTest, TheMessageIsEditedOrDraggedOnlyOutsideThePickModes) {
    AppearancePicker picker;
    EXPECT_EQ(picker.PressOnMessage(true), MessagePress::EditText);
    EXPECT_EQ(picker.PressOnMessage(false), MessagePress::StartDrag);
    picker.ColourConfirmed(kRed);
    EXPECT_EQ(picker.PressOnMessage(true), MessagePress::Nothing);
    picker.FontConfirmed();
    EXPECT_EQ(picker.PressOnMessage(false), MessagePress::Nothing);
}

TEST(FolderOfPathTest, UpToTheLastSeparator) {
    const QStringList cases[] = {
        {"/music/a/b.mp3", "/music/a/"},
        {"C:\\music\\b.mp3", "C:\\music\\"},
        {"C:b.mp3", "C:"},
        {"b.mp3", ""},
    };
    for (const QStringList& c : cases) EXPECT_EQ(FolderOfPath(c[0]), c[1]) << c[0].toStdString();
}

}  // namespace
