#include "app/stream_settings.h"

#include <QStringList>

namespace {

const char* const kFields[] = {"Enabled", "Server",  "Port", "Mount", "User",       "Password",
                               "Format",  "Bitrate", "Name", "Genre", "Description"};

}  // namespace

QStringList StreamSettings::Keys(int n) {
    QStringList keys;
    for (const char* field : kFields)
        keys << QStringLiteral("Stream%1/%2").arg(n).arg(QLatin1String(field));
    return keys;
}

StreamSettings::StreamSettings() {
    for (int i = 0; i < kStreams; ++i) {
        const QStringList keys = Keys(i + 1);
        for (qsizetype f = 0; f < keys.size(); ++f)
            m_keys[std::size_t(i * 11 + f)] = keys[f].toLatin1();
        const auto key = [this, i](int f) { return m_keys[std::size_t(i * 11 + f)].constData(); };
        StreamConfig& s = Streams[std::size_t(i)];
        m_settings.Add(key(0), s.Enabled)
            .Add(key(1), s.Server)
            .Add(key(2), s.Port)
            .Add(key(3), s.Mount)
            .Add(key(4), s.User)
            .Add(key(5), s.Password)
            .Add(key(6), s.Format)
            .Add(key(7), s.Bitrate)
            .Add(key(8), s.Name)
            .Add(key(9), s.Genre)
            .Add(key(10), s.Description);
    }
    m_settings.Add("StreamSpotTitles", StreamSpotTitles);
}
