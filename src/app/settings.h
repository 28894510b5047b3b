#pragma once

#include <QMap>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <optional>
#include <vector>

class QSettings;
class SettingsTable;

/// The station's settings store: read once at start-up, written back in full at close.
/// Every value is stored as a string under its own name, by the table of the room that
/// keeps it; colours sit in the subgroups "colors" (background) and "ColorFonts" (font
/// colour).

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

/// Component name → colours, with the defaults. After reading, "LabelWra2" and
/// "LabelRunProgram" carry "LabelProgramName1"'s colours; they are never stored.
QMap<QString, ComponentColours> DefaultColours();

/// Where the stored values live: the tables of the rooms that keep them, in the order
/// they are stored, and the colours.
struct SettingsHomes {
    std::vector<SettingsTable*> tables;
    QMap<QString, ComponentColours>* colours = nullptr;
};

/// Reads every value into its room and the colours; a missing or non-numeric value gives
/// its default.
void ReadSettings(QSettings& store, const SettingsHomes& homes);
/// Writes every value and every stored colour as a string.
void WriteSettings(QSettings& store, const SettingsHomes& homes);
/// Writes every value and checks the store by reading it back: QSettings keeps an error
/// met while reading as its status after a good write, and can commit a file cut short as
/// a success. Returns a message naming the store and, where the system gives one, its
/// reason; an empty string when every value is stored.
QString SaveSettings(QSettings& store, const SettingsHomes& homes);
/// Why the store could not be read whole at start, or an empty string.
QString SettingsReadProblem(const QSettings& store);
/// The station's own store: the per-user registry key Kelmar\Stavox on Windows,
/// ~/.config/Kelmar/Stavox.conf on Linux.
std::unique_ptr<QSettings> OpenStationSettings();
