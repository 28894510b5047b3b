#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>

#include "base/settings_table.h"

/// The station's stream outputs as the operator sets them: up to four Icecast mounts,
/// each in the settings group `Stream1` … `Stream4`, and whether spots and jingles change
/// the streams' titles (`StreamSpotTitles`). The password is kept in the settings file,
/// which the station keeps readable by its user only.
struct StreamConfig {
    bool Enabled = false;
    QString Server;
    int Port = 8000;
    QString Mount = QStringLiteral("/stream");
    QString User = QStringLiteral("source");
    QString Password;
    QString Format = QStringLiteral("mp3");  ///< "mp3" or "ogg" (Vorbis)
    int Bitrate = 128;                       ///< kbit/s
    QString Name;
    QString Genre;
    QString Description;
};

class StreamSettings {
public:
    static constexpr int kStreams = 4;
    /// The settings keys of stream n (from 1), in the order the options show them.
    static QStringList Keys(int n);

    StreamSettings();
    StreamSettings(const StreamSettings&) = delete;
    StreamSettings& operator=(const StreamSettings&) = delete;

    std::array<StreamConfig, kStreams> Streams;
    bool StreamSpotTitles = false;
    SettingsTable& Settings() { return m_settings; }

private:
    SettingsTable m_settings;
    std::array<QByteArray, kStreams * 11> m_keys;  // the rows keep the keys' text
};
