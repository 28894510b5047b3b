#pragma once

#include <QString>
#include <QStringList>

/// The window's pick modes for the operator's own colours and fonts, and what a press on the
/// user message does.
/// "Color...", "Text Color..." or "Fonts..." turns a pick mode on; every press on a
/// paintable control then paints its targets, until another dialog is confirmed or "Normal
/// Function" ends it. The window keeps the background and text colours painted in the
/// stored colour table, so that the table's components keep them for the next start; a
/// font lives only until the program ends.

enum class PickMode { Normal, Colour, TextColour, Font };

/// What a press on a control paints: the components that take the colour as background,
/// those that take it as the colour of their text, and those that take the font. All empty
/// for a control that cannot be painted. The text colour goes where the font goes.
struct PaintTargets {
    QStringList colour;
    QStringList text;
    QStringList font;
};
PaintTargets PaintTargetsOf(const QString& pressed);
/// Every control a press may paint (the pressed ones, not their targets).
QStringList PaintableControls();

/// What the press on the user message does outside the pick modes.
enum class MessagePress { Nothing, EditText, StartDrag };

class AppearancePicker {
public:
    /// The colour dialog confirmed (`Color1Click`).
    void ColourConfirmed(quint32 colour);
    /// The colour dialog of "Text Color..." confirmed.
    void TextColourConfirmed(quint32 colour);
    /// The font dialog confirmed (`Fonts1Click`).
    void FontConfirmed() { m_mode = PickMode::Font; }
    /// `NormalFunction1Click`.
    void NormalFunction() { m_mode = PickMode::Normal; }
    PickMode Mode() const { return m_mode; }
    /// The colour chosen last, as the settings store keeps colours (0x00BBGGRR).
    quint32 Colour() const { return m_colour; }

    /// A press on a control: the targets it paints in the mode that is on (none outside
    /// the pick modes).
    PaintTargets Press(const QString& pressed) const;
    /// A press on `PanelMessages` or `LabelMessages` with the right button (or another).
    MessagePress PressOnMessage(bool rightButton) const;

private:
    PickMode m_mode = PickMode::Normal;
    quint32 m_colour = 0;
};
