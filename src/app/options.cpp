#include "app/options.h"

#include "app/settings.h"
#include "app/stream_settings.h"
#include "base/number_text.h"

namespace {

const QString kLockKey = QStringLiteral("LockPrograms");
const QString kShutDownHourKey = QStringLiteral("ShutDownHour");
const QString kSpotModeKey = QStringLiteral("HowToPlaySpots");

}  // namespace

const QStringList& Options::Keys() {
    static const QStringList keys = {
        QStringLiteral("WinAmpPath"),         kSpotModeKey,
        QStringLiteral("ShutDown"),           kShutDownHourKey,
        QStringLiteral("ShutDownMin"),        kLockKey,
        QStringLiteral("SimplifyPlayer"),     QStringLiteral("WaitSecInBeggining"),
        QStringLiteral("HowFastFadeOnSpots"), QStringLiteral("GreeklishSearch"),
        QStringLiteral("AviOrMessage"),       QStringLiteral("SkipIntro"),
        QStringLiteral("SkipIntroSec"),       QStringLiteral("PlayOnlyOneSpot"),
        QStringLiteral("PlaySpotEvery"),      QStringLiteral("LevelTracks"),
        QStringLiteral("LoudnessTarget"),     QStringLiteral("SmartMixing"),
        QStringLiteral("SilenceSeconds"),     QStringLiteral("SilenceThreshold"),
        QStringLiteral("EmergencyList"),      QStringLiteral("MonitorSource"),
        QStringLiteral("StreamSpotTitles")};
    static const QStringList all = [] {
        QStringList withStreams = keys;
        for (int n = 1; n <= StreamSettings::kStreams; ++n) withStreams << StreamSettings::Keys(n);
        return withStreams;
    }();
    return all;
}

QMap<QString, QString> Options::Values(const SettingsHomes& homes) {
    QMap<QString, QString> values;
    for (const QString& key : Keys())
        values.insert(key, StoredValue(homes, key).value_or(QString()));
    return values;
}

Result Options::Set(const SettingsHomes& homes, const QString& key, const QString& text) {
    if (!Keys().contains(key) || key == kLockKey)
        return Result::Error(QStringLiteral("no option \"%1\"").arg(key));
    if (key == kShutDownHourKey && !ParseInt(text)) return Result::Error(NotAnIntegerMessage(text));
    if (key == kSpotModeKey) {
        const std::optional<int> mode = ParseInt(text);
        if (!mode || *mode < int(SpotMode::Just) || *mode > int(SpotMode::Off))
            return Result::Error(QStringLiteral("the spot mode is 1 to 4, not \"%1\"").arg(text));
    }
    if (key.endsWith(QLatin1String("/Format")) && text != u"mp3" && text != u"ogg")
        return Result::Error(QStringLiteral("a stream is mp3 or ogg, not \"%1\"").arg(text));
    SetStoredValue(homes, key, text);
    return Result::Ok();
}

QString NotAnIntegerMessage(const QString& text) {
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}
