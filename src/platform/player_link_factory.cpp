#include "platform/player_link_factory.h"

#include "player/simulated_player_link.h"

#ifdef Q_OS_WIN
#include "platform/win_player_link.h"
#else
#include "platform/mpv_player_link.h"
#endif

std::unique_ptr<PlayerLink> MakePlayerLink(const QString& kind, const Clock& clock,
                                           TimerHost& timers, const QStringList& playerOptions) {
    if (kind == QLatin1String("simulated"))
        return std::make_unique<SimulatedPlayerLink>(clock, timers);
#ifdef Q_OS_WIN
    Q_UNUSED(playerOptions);
    if (kind == QLatin1String("winamp")) return std::make_unique<WinPlayerLink>();
#else
    if (kind == QLatin1String("mpv")) {
        MpvPlayerLink::Options options;
        options.extraArguments = playerOptions;
        return std::make_unique<MpvPlayerLink>(std::move(options));
    }
#endif
    return nullptr;
}

QString DefaultPlayerKind() {
#ifdef Q_OS_WIN
    return QStringLiteral("winamp");
#else
    return QStringLiteral("mpv");
#endif
}
