#include "platform/station_platform.h"

#include "platform/player_link_factory.h"
#ifdef _WIN32
#include "platform/win_line_in_control.h"
#include "platform/win_system_shutdown.h"
#else
#include "platform/login_manager_shutdown.h"
#include "platform/pulse_air_listener.h"
#include "platform/pulse_line_in_control.h"
#endif

namespace {

// A trial run leaves the machine on.
class TrialRunShutdown final : public SystemShutdown {
public:
    Result PowerOff() override {
        return Result::Error(QStringLiteral("a trial run with simulated players leaves it on"));
    }
};

}  // namespace

StationPlatform ChoosePlatform(const QString& kind) {
    StationPlatform platform;
    platform.kind = kind.isEmpty() ? DefaultPlayerKind() : kind;
    platform.trialRun = platform.kind == QLatin1String("simulated");
    // A trial run beside the station keeps a log of its own.
    platform.libraryLogName =
        platform.trialRun ? QStringLiteral("trial-run.log") : QStringLiteral("station.log");
    return platform;
}

void MakePlatform(StationPlatform& platform, const Clock& clock, TimerHost& timers,
                  const QStringList& playerOptions) {
    platform.decks = MakePlayerLink(platform.kind, clock, timers, playerOptions);
    if (platform.trialRun) {
        // The line input keeps away from the sound card too.
        platform.lineIn = std::make_unique<SimulatedLineInControl>();
        platform.shutdown = std::make_unique<TrialRunShutdown>();
        platform.airMissing = QStringLiteral("simulated decks air nothing to listen to");
        return;
    }
#ifdef _WIN32
    platform.lineIn = std::make_unique<WinLineInControl>();
    platform.shutdown = std::make_unique<WinSystemShutdown>();
    platform.airMissing = QStringLiteral("this system has no listener for the air");
#else
    platform.lineIn = std::make_unique<PulseLineInControl>();
    platform.shutdown = std::make_unique<LoginManagerShutdown>();
    platform.air = std::make_unique<PulseAirListener>();
    platform.streamAir = std::make_unique<PulseAirListener>(44'100);
#endif
}
