#include "app/station.h"
#include "app/station_commands.h"
#include "base/number_text.h"

namespace {

// A row of a list of `count` rows, counted from 1.
QString NoSuchRow(const QString& what, const QString& argument, qsizetype count) {
    const int n = argument.toInt();
    if (n >= 1 && n <= count) return {};
    return QStringLiteral("no row %1 in %2 (there are %3)").arg(argument, what).arg(count);
}

QString SpotRowRefusal(const Station& s, const QString& arg) {
    return NoSuchRow(QStringLiteral("the Spots tab's list"), arg,
                     s.SpotsTab().EditedSpotPaths().size());
}

QString NextSpotRowRefusal(const Station& s, const QString& arg) {
    return NoSuchRow(QStringLiteral("\"Next Spots\""), arg, s.NextSpots().NextSpotPaths().size());
}

QString WeekdayRefusal(const Station&, const QString& arg) {
    const int n = arg.toInt();
    return n >= 1 && n <= 7 ? QString()
                            : QStringLiteral("no weekday %1 (1 is Sunday, 7 Saturday)").arg(arg);
}

QString HourRefusal(const Station&, const QString& arg) {
    bool number = false;
    const int hour = arg.toInt(&number);
    return number && hour >= 0 && hour <= 23
               ? QString()
               : QStringLiteral("no hour \"%1\" (0 to 23)").arg(CutForEcho(arg));
}

QString QuarterRefusal(const Station&, const QString& arg) {
    return arg.toInt() <= 4 ? QString() : QStringLiteral("no quarter %1 (1 to 4)").arg(arg);
}

// 0 takes the choice away.
QString SelectRefusal(const Station& s, const QString& arg) {
    bool number = false;
    const int row = arg.toInt(&number);
    if (number && row == 0) return {};
    return SpotRowRefusal(s, arg);
}

Result Statistics(SpotEditor& editor, const QString& path, bool timetable) {
    editor.AskStatistics(path, timetable);
    return Result::Ok();
}

}  // namespace

std::vector<OperatorVerb> StationCommands::SpotsVerbs() {
    return {
        // The Spots tab's slot: weekday tab (1 Sunday), hour (0..23), quarter tab (1..4).
        {"spots-day", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             return s.m_spotEditor.TabControlSpotsChange(arg.toInt() - 1);
         },
         WeekdayRefusal},
        {"spots-hour", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             return s.m_spotEditor.ComboBoxHourSpots1Change(arg.toInt());
         },
         HourRefusal},
        {"spots-quarter", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             return s.m_spotEditor.TabSet1Change(arg.toInt() - 1);
         },
         QuarterRefusal},
        // The chosen row of the Spots tab's list; 0 for none.
        {"spots-select", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_spotEditor.SelectSpot(arg.toInt() - 1);
             return Result::Ok();
         },
         SelectRefusal},
        {"spots-up", VerbArgument::None,
         [](Station& s, const QString&) { return s.m_spotEditor.BitBtnSpotUp1Click(); }, nullptr,
         true},
        {"spots-down", VerbArgument::None,
         [](Station& s, const QString&) { return s.m_spotEditor.BitBtnSpotDown1Click(); }, nullptr,
         true},
        {"spots-delete", VerbArgument::None,
         [](Station& s, const QString&) { return s.m_spotEditor.BitBtnDelSpot1Click(); }, nullptr,
         true},
        // "Same as...": the shown weekday takes the spots of this one (1 Sunday).
        {"spots-same-as", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             return s.m_spotEditor.BitBtnIdioMeSpots1Click(arg.toInt() - 1);
         },
         WeekdayRefusal, true},
        // The music stops and the queue goes on in list order (a spot of the list is heard).
        {"spots-play-in-order", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_spots.ListBoxSpots2DblClick(s.m_jingles.FadeJingles);
             return Result::Ok();
         }},
        // The statistics of a row of the Spots tab ("Show Stats", "Show Program") or of
        // "Next Spots", for the statistics window.
        {"spots-stats", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             return Statistics(s.m_spotEditor, s.m_spotEditor.EditedSpotPaths().at(arg.toInt() - 1),
                               false);
         },
         SpotRowRefusal},
        {"spots-timetable", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             return Statistics(s.m_spotEditor, s.m_spotEditor.EditedSpotPaths().at(arg.toInt() - 1),
                               true);
         },
         SpotRowRefusal},
        {"next-spot-stats", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             return Statistics(s.m_spotEditor, s.m_spotSchedule.NextSpotPaths().at(arg.toInt() - 1),
                               false);
         },
         NextSpotRowRefusal},
    };
}
