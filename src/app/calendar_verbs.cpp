#include "app/station.h"
#include "app/station_commands.h"
#include "schedule/list_file.h"

namespace {

// A number from 1 to count, or why not.
QString NoSuch(const QString& what, const QString& number, int count) {
    bool isNumber = false;
    const int n = number.toInt(&isNumber);
    if (isNumber && n >= 1 && n <= count) return {};
    return QStringLiteral("no %1 %2 (there are %3)").arg(what, number).arg(count);
}

// Lists are packed as a program value packs them: "a|b|" (a list name holds no "|").
QStringList PackedLists(const QString& packed) { return packed.split(u'|', Qt::SkipEmptyParts); }

// "N LISTS": the end chosen, and the lists after the first space.
std::pair<QString, QString> EndAndLists(const QString& argument) {
    const qsizetype space = argument.indexOf(u' ');
    if (space < 0) return {argument, {}};
    return {argument.left(space), argument.mid(space + 1)};
}

QString RowRefusal(const Station& s, const QString& arg) {
    if (arg.isEmpty()) return {};
    return NoSuch(QStringLiteral("program row"), arg, int(s.CalendarTab().Rows().size()));
}

QString StartHourRefusal(const Station& s, const QString& arg) {
    return NoSuch(QStringLiteral("start hour"), arg, int(s.CalendarTab().StartHours().size()));
}

QString EndHourRefusal(const Station& s, const QString& arg) {
    // With the choice closed the command closes nothing and changes nothing.
    if (!s.CalendarTab().EndHoursEnabled()) return {};
    return NoSuch(QStringLiteral("end hour"), EndAndLists(arg).first,
                  int(s.CalendarTab().EndHours().size()));
}

QString PlayNowRefusal(const Station& s, const QString& arg) {
    if (arg.isEmpty() || list_file::Exists(s.Folders().ListsPath, arg)) return {};
    return QStringLiteral("no list \"%1\"").arg(arg);
}

QString SameAsRefusal(const Station&, const QString& arg) {
    if (arg.isEmpty() || arg == u"0") return {};
    return NoSuch(QStringLiteral("weekday"), arg, 7);
}

}  // namespace

// The Calendar tab, "Check the week..." and the program loader's two commands of the
// window. Weekdays count from 1 (Sunday), rows and hours from 1.
std::vector<OperatorVerb> StationCommands::CalendarVerbs() {
    return {
        // The day tab: the day left is saved, the day chosen is read.
        {"calendar-day", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             return s.m_calendar.TabControl1Change(arg.toInt() - 1);
         },
         [](const Station&, const QString& arg) {
             return NoSuch(QStringLiteral("weekday"), arg, 7);
         }},
        // The row of the day chosen; empty for none.
        {"calendar-select-row", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_calendar.SelectRow(arg.isEmpty() ? -1 : arg.toInt() - 1);
             return Result::Ok();
         },
         RowRefusal},
        // Changes nothing: answers whether the calendar may be edited now, so that the
        // window asks for lists or a day only when the answer can be used.
        {"calendar-may-edit", VerbArgument::None,
         [](Station&, const QString&) { return Result::Ok(); }, nullptr, true},
        // NEW: the free hours are offered as starts.
        {"calendar-new-program", VerbArgument::None,
         [](Station& s, const QString&) { return s.m_calendar.BitBtnNewHourProg1Click(); }, nullptr,
         true},
        {"calendar-start-hour", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.m_calendar.ComboBoxStartHour1Change(arg.toInt() - 1);
             return Result::Ok();
         },
         StartHourRefusal},
        // "N LISTS": end N with the lists packed "a|b|", none for "Ακυρο"; either way the
        // hour choice closes. The calendar checks the lock itself: a refused end closes the
        // choice too.
        {"calendar-end-hour", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             const auto [end, lists] = EndAndLists(arg);
             return s.m_calendar.ComboBoxEndHour1Change(end.toInt() - 1, PackedLists(lists));
         },
         EndHourRefusal},
        // The chosen row's program gets the lists packed "a|b|"; none changes nothing.
        {"calendar-set-program", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             return s.m_calendar.ButtonSetProgr1Click(PackedLists(arg));
         },
         nullptr, true},
        {"calendar-delete-program", VerbArgument::None,
         [](Station& s, const QString&) { return s.m_calendar.BitBtnDelHourProg1Click(); }, nullptr,
         true},
        // "Same as": the weekday copied onto the day shown, 0 for "OK" with none chosen
        // (the day is read again), empty for "Ακυρο".
        {"calendar-same-as", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             std::optional<int> weekday;
             if (!arg.isEmpty()) weekday = arg.toInt() - 1;
             return s.m_calendar.BitBtnIdioProMe1Click(weekday);
         },
         SameAsRefusal, true},
        // The week's check runs on a worker; its warnings come with the calendar's state.
        {"check-week", VerbArgument::None,
         [](Station& s, const QString&) { return s.m_weekCheck.Start(s); }},
        // "Don't clear": the played list is kept over a program change.
        {"program-dont-clear", VerbArgument::OnOff,
         [](Station& s, const QString& arg) {
             s.m_loader.CheckBoxDontClearAutomaticallyPrevTracksClick(arg == u"on");
             return Result::Ok();
         },
         nullptr, true},
        // "PlayThe Program now": the list named, or the one chosen on the Lists tab.
        {"program-play-now", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             return s.m_loader.PlayTheProgramnow1Click(arg.isEmpty() ? s.m_lists.ChosenListName()
                                                                     : arg);
         },
         PlayNowRefusal},
    };
}
