#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "base/result.h"

/// What the station was asked to do on its command line.
struct CommandLine {
    enum class Mode {
        Window,
        Simulate,
        TrackLength,
        Search,
        Help,
        Version,
        DeadEntries,
        Check,
        Send,
        SpotReport,
        Analyze,
        AirReport
    };
    Mode mode = Mode::Window;
    QDateTime simulateStart;         ///< --simulate "YYYY-MM-DD HH:MM:SS", local time
    std::int64_t simulateForMs = 0;  ///< --for 90s | 45m | 6h | 7d
    bool logVolumes = false;         ///< --volumes
    QString actionsFile;             ///< --actions FILE, the operator's actions in the preview
    QString player = "mpv";          ///< --player mpv | simulated
    QStringList playerOptions;       ///< --ao=... and other --ao options passed to the decks
    QStringList files;               ///< --track-length FILE..., --analyze FILE...
    int analyzeJobs = 0;             ///< --analyze --jobs N; 0: one a core
    QString searchText;              ///< --search TEXT
    QString searchNarrowing;         ///< --and TEXT2
    bool searchGreeklish = false;    ///< --greeklish
    bool searchCds = false;          ///< --cds
    QString deadEntries;             ///< --dead-entries songs|spots
    QDateTime checkFrom;             ///< --check --from "YYYY-MM-DD HH:MM:SS"; invalid: now
    std::int64_t checkForMs = 7 * 86'400'000LL;  ///< --check --for DURATION
    QString sendMessage;                         ///< --send VERB [ARG], as the one line sent
    QDate reportFrom, reportTo;                  ///< --spot-report FROM TO, the days, both included
    bool reportCsv = false;                      ///< --csv
    QDate airReportDay;                          ///< --air-report DAY; invalid for "today"
    QString error;                               ///< set when the arguments make no sense
};

/// Parses the arguments after the program name.
CommandLine ParseCommandLine(const QStringList& args);
/// "90s", "45m", "6h", "7d" in milliseconds; nothing for anything else.
std::optional<std::int64_t> ParseDuration(const QString& text);
/// The usage lines, printed for --help and on a bad command line.
QString UsageText();
