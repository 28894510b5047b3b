#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QtGlobal>
#include <optional>

class Station;

/// A stored colour: 0x00BBGGRR, or a system colour when the high byte is 0x80 (its
/// index in the low byte). Kept raw so that a system colour survives a round trip.
using ColourValue = quint32;

bool IsSystemColour(ColourValue colour);
/// The system colour's index (0x8000000F gives 15); only meaningful for a system colour.
int SystemColourIndex(ColourValue colour);
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb&) const = default;
};
/// Red is the low byte. Not meaningful for a system colour.
Rgb RgbOf(ColourValue colour);
ColourValue ColourFromRgb(int r, int g, int b);

/// A component's colours; an empty one is neither read nor written.
struct ComponentColours {
    std::optional<ColourValue> background;
    std::optional<ColourValue> font;
    bool operator==(const ComponentColours&) const = default;
};

/// A caption of the language file: the component whose caption it is, and the text.
struct ShownCaption {
    QString component;
    QString text;
    bool operator==(const ShownCaption&) const = default;
};

/// What the window shows of the options, as plain values read off the core.
struct OptionsState {
    /// Each setting the options dialog shows, by the key the store keeps it under, as the
    /// store keeps it ("1" or "0" for a check). Empty until the core has published.
    QMap<QString, QString> values;
    /// "Lock Programs": the window hides its editing controls while it is on.
    bool lockPrograms = false;
    /// "Simplify Player": the player panel's simple layout.
    bool simplifyPlayer = false;
    /// "Show Avi" (true) or "Show Message" (false).
    bool showAvi = true;
    /// The user message of the messages panel.
    QString ownerMessage;
    /// Component name → its stored colours.
    QMap<QString, ComponentColours> colours;
    /// The captions of `language.ini`, and why it could not be read (or empty).
    QList<ShownCaption> captions;
    QString captionProblem;
};

/// Read on the core's thread.
OptionsState OptionsStateOf(const Station& station);
