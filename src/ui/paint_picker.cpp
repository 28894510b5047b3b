#include "ui/paint_picker.h"

#include <array>

namespace {

// The controls a press paints, each with its colour and font targets: "*" is the pressed
// control itself; an empty font target means the control takes no font.
struct PaintRow {
    const char* pressed;
    const char* colourTargets;
    const char* fontTargets;
};

constexpr const char* kProgramName = "LabelRunProgram,LabelWra2,LabelProgramName1";

constexpr std::array<PaintRow, 29> kPaintRows = {{
    {"ListBoxTitles1", "*", "*"},
    {"DirectoryOutline1", "*", "*"},
    {"ListBoxFileProgr1", "*", "*"},
    {"ListBoxListAll1", "*", "*"},
    {"ListBoxArtist", "*", "*"},
    {"ListBoxArtistTracks", "*", "*"},
    {"ListBoxSpots2", "*", "*"},
    {"ListBoxProgram1", "*", "*"},
    {"FileListBox1", "*", "*"},
    {"ListBoxPrevPlayed1", "*", "*"},
    {"ListBoxPlayList1", "*", "*"},
    {"ListBoxSpotsNow1", "*", "*"},
    {"ListBoxFileListBox", "*", "*"},
    {"ListBoxListsForFile", "*", "*"},
    {"PanelPlayControls", "*", ""},
    {"PanelTime", "PanelTime", ""},
    {"LabelHmera1", "PanelTime", ""},
    {"LabelMera1", "PanelTime", ""},
    {"LabelTime1", "PanelTime", ""},
    {"PanelTrackSec", "*", ""},
    {"ScrollBoxSpots1", "*", ""},
    {"PanelTrackName1", "PanelTrackName1", "LabelTrackName1"},
    {"LabelTrackName1", "PanelTrackName1", "LabelTrackName1"},
    {"PanelAdv1", "PanelAdv1", "LabelBottomAdvert1"},
    {"LabelBottomAdvert1", "PanelAdv1", "LabelBottomAdvert1"},
    {"LabelRunProgram", kProgramName, kProgramName},
    {"LabelWra2", kProgramName, kProgramName},
    {"LabelProgramName1", kProgramName, kProgramName},
    {"PanelMessages", "PanelMessages", "LabelMessages"},
}};

QStringList Targets(const char* names, const QString& pressed) {
    if (QLatin1String(names) == QLatin1String("*")) return {pressed};
    return QString::fromLatin1(names).split(QLatin1Char(','), Qt::SkipEmptyParts);
}

}  // namespace

PaintTargets PaintTargetsOf(const QString& pressed) {
    // The message's label is a part of its panel: a press on either is the panel's.
    const QString control =
        pressed == QLatin1String("LabelMessages") ? QStringLiteral("PanelMessages") : pressed;
    for (const PaintRow& row : kPaintRows) {
        if (control != QLatin1String(row.pressed)) continue;
        const QStringList font = Targets(row.fontTargets, control);
        return {Targets(row.colourTargets, control), font, font};
    }
    return {};
}

QStringList PaintableControls() {
    QStringList names;
    for (const PaintRow& row : kPaintRows) names << QString::fromLatin1(row.pressed);
    names << QStringLiteral("LabelMessages");
    return names;
}

void AppearancePicker::ColourConfirmed(quint32 colour) {
    m_colour = colour;
    m_mode = PickMode::Colour;
}

void AppearancePicker::TextColourConfirmed(quint32 colour) {
    m_colour = colour;
    m_mode = PickMode::TextColour;
}

PaintTargets AppearancePicker::Press(const QString& pressed) const {
    const PaintTargets all = PaintTargetsOf(pressed);
    switch (m_mode) {
        case PickMode::Colour:
            return {all.colour, {}, {}};
        case PickMode::TextColour:
            return {{}, all.text, {}};
        case PickMode::Font:
            return {{}, {}, all.font};
        case PickMode::Normal:
            break;
    }
    return {};
}

MessagePress AppearancePicker::PressOnMessage(bool rightButton) const {
    if (m_mode != PickMode::Normal) return MessagePress::Nothing;
    return rightButton ? MessagePress::EditText : MessagePress::StartDrag;
}
