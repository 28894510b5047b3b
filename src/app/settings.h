#pragma once

#include <QMap>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <optional>
#include <vector>

#include "app/options_state.h"

class QSettings;
class SettingsTable;

/// The station's settings store: read once at start-up, written back in full at close.
/// Every value is stored as a string under its own name, by the table of the room that
/// keeps it; colours sit in the subgroups "colors" (background) and "ColorFonts" (font
/// colour).

/// Component name → colours, with the defaults. After reading, "LabelWra2" and
/// "LabelRunProgram" carry "LabelProgramName1"'s colours; they are never stored.
QMap<QString, ComponentColours> DefaultColours();

/// Where the stored values live: the tables of the rooms that keep them, in the order
/// they are stored, and the colours.
struct SettingsHomes {
    std::vector<SettingsTable*> tables;
    QMap<QString, ComponentColours>* colours = nullptr;
};

/// The stored value under key as the store keeps it, from the table of the room that keeps
/// it; nothing when no table has the key.
std::optional<QString> StoredValue(const SettingsHomes& homes, const QString& key);
/// The default under key, as the store would keep it.
std::optional<QString> StoredDefault(const SettingsHomes& homes, const QString& key);
/// Sets the value under key in its room from text, as reading the store would; false when no
/// table has the key.
bool SetStoredValue(const SettingsHomes& homes, const QString& key, const QString& text);

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
