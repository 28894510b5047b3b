#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <cstdint>
#include <functional>

#include "app/calendar_state.h"
#include "app/data_folders.h"

class AnalysisStore;
class Station;

/// The pre-flight check of the week: what would go wrong on air in a span of time, found
/// by reading the station's files as the scheduler, the spot runner, the jingle wall and
/// the hour announcement would read them when their time comes. Nothing is played and
/// nothing is written.
namespace week_check {

/// One thing that would go wrong: when (local time, to the minute), its kind (one of the
/// names below) and what and why, in one line of text without tabs.
struct Warning {
    QDateTime when;
    QString kind;
    QString detail;
};

inline const QString kDeadAir = QStringLiteral("dead-air");
inline const QString kMissingTrack = QStringLiteral("missing-track");
inline const QString kMissingList = QStringLiteral("missing-list");
inline const QString kMissingSpot = QStringLiteral("missing-spot");
inline const QString kSpotOverflow = QStringLiteral("spot-overflow");
inline const QString kShortProgram = QStringLiteral("short-program");
inline const QString kClockChange = QStringLiteral("clock-change");
inline const QString kShutdown = QStringLiteral("shutdown");
inline const QString kJingleBank = QStringLiteral("jingle-bank");
inline const QString kHourFragment = QStringLiteral("hour-fragment");

/// Silence shorter than this is a gap between tracks, not dead air.
inline constexpr int kLongestGapSeconds = 10;

/// What the check reads besides the files: the folders and the station's settings.
struct Setup {
    DataFolders folders;
    int mixingSeconds = 20;    ///< the crossfade: each track hands over this long before its end
    int skipIntroSec = 0;      ///< SkipIntro: each track starts this far in (0: off)
    bool smartMixing = false;  ///< SmartMixing: tracks are mixed by their analysed sound
    const AnalysisStore* analyses = nullptr;  ///< where the analyses are found
    bool shutDown = false;                    ///< the automatic shutdown is on
    int shutDownHour = 0;
    int shutDownMin = 0;
    QString hourExtension = QStringLiteral(".mp3");  ///< of the announcement's fragments
};
/// The setup of a station as its settings stand.
Setup SetupOf(const Station& station);

/// The warnings of [from, from + forMs), sorted by time (warnings of one time keep the
/// order in which the station would meet them).
QList<Warning> CheckWeek(const Setup& setup, const QDateTime& from, std::int64_t forMs);

/// The window's check: a week from the station's now, with its setup as its settings
/// stand (read at once, on the station's thread); the work reads the files only.
std::function<QList<WeekWarning>()> WeekFromNow(const Station& station);

/// "YYYY-MM-DD HH:MM<TAB>kind<TAB>detail".
QString WarningLine(const Warning& warning);

}  // namespace week_check
