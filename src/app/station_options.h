#pragma once

#include <QMap>
#include <QString>

#include "app/settings.h"
#include "base/settings_table.h"
#include "housekeeping/caption_language.h"

/// The stored options whose rooms are not built yet (the library's search, the
/// messages panel, the player's layout), and the components' colours. Each
/// moves to its room when that room arrives.
struct StationOptions {
    StationOptions();

    bool GreeklishSearch = false;
    QString OwnerMessage = QStringLiteral("Right Click to Enter Your message");
    bool SimplifyPlayer = false;
    /// "Show Avi" (true) or "Show Message" (false).
    bool AviOrMessage = true;
    /// The captions of `language.ini`, read at start-up; never stored.
    LanguageCaptions Language;
    /// Read and written by the store with the colour table.
    QMap<QString, ComponentColours> Colours = DefaultColours();

    /// The values above but the colours, as the station's settings keep them.
    SettingsTable& Settings() { return m_settings; }

private:
    SettingsTable m_settings;
};
