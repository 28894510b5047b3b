#include "schedule/calendar.h"

#include <gtest/gtest.h>

#include "base/text_file.h"
#include "schedule/program_lock.h"
#include "support/file_failure.h"
#include "support/station_folder.h"

namespace {

constexpr int kMonday = 1;
const QDate kSomeMonday(2026, 12, 7);  // weekday 1

QStringList Texts(const std::vector<Calendar::HourChoice>& choices) {
    QStringList texts;
    for (const auto& choice : choices) texts.append(choice.text);
    return texts;
}

QStringList Range(int firstSlot, int lastSlot) {
    QStringList texts;
    for (int s = firstSlot; s <= lastSlot; ++s) texts.append(day_program::SlotToTime(s));
    return texts;
}

class CalendarTest : public ::testing::Test {
protected:
    void Open() {
        QObject::connect(&calendar, &Calendar::ProgramsChanged, [this] { ++programsChanged; });
        EXPECT_EQ(calendar.SelectToday(kSomeMonday), Result::Ok());
    }
    QStringList DayFile(int weekday) const {
        return text_file::ReadLines(day_program::DayFilePath(station.DaysPath(), weekday)).value;
    }
    int StartIndexOf(const QString& time) const {
        return static_cast<int>(Texts(calendar.StartHours()).indexOf(time));
    }
    /// NEW, choose start and end, choose the lists in the list chooser.
    Result AddProgram(const QString& start, const QString& end, const QStringList& lists) {
        calendar.BitBtnNewHourProg1Click();
        calendar.ComboBoxStartHour1Change(StartIndexOf(start));
        const int endIndex = static_cast<int>(Texts(calendar.EndHours()).indexOf(end));
        return calendar.ComboBoxEndHour1Change(endIndex, lists);
    }

    StationFolder station;
    ProgramLock lock;
    Calendar calendar{station.DaysPath(), lock};
    int programsChanged = 0;
};

TEST_F(CalendarTest, EmptyFolderOffersEveryHalfHourAProgramToMidnightIsStoredOrKeptIfTheSaveFails) {
    Open();
    EXPECT_TRUE(calendar.Rows().empty());
    calendar.BitBtnNewHourProg1Click();
    EXPECT_EQ(Texts(calendar.StartHours()), Range(0, 47));
    EXPECT_EQ(Texts(calendar.EndHours()).mid(46), QStringList({"23:30", "24:00"}));
    EXPECT_TRUE(calendar.StartHoursEnabled() && calendar.EndHoursEnabled());
    EXPECT_EQ(AddProgram("22:00", "24:00", {"late"}), Result::Ok());
    EXPECT_EQ(DayFile(kMonday).mid(43),
              QStringList({"###NULL###", "late", "###SAME###", "###SAME###", "###SAME###"}));
    ASSERT_EQ(calendar.Rows().size(), 1u);
    EXPECT_EQ(calendar.Rows()[0].text, "22:00 - 24:00     late");
    EXPECT_EQ(programsChanged, 1);
    EXPECT_FALSE(calendar.StartHoursEnabled() || calendar.EndHoursEnabled());
    Calendar broken(file_failure::PathUnderRegularFile(station.StartFolder(), "days1") + "/", lock);
    broken.SelectToday(kSomeMonday);
    broken.BitBtnNewHourProg1Click();
    EXPECT_FALSE(broken.ComboBoxEndHour1Change(0, {"x"}).ok());
    EXPECT_EQ(broken.CalendarDay()[0], "x");
}

TEST_F(CalendarTest, StartsAndEndsStopAtOtherProgramsAndADayChangeAbandonsAHalfMadeOne) {
    station.WriteDays({{kMonday, "08:00", "10:00", "a"},
                       {kMonday, "12:00", "13:00", "b"},
                       {2, "00:00", "24:00", "all day"}});
    Open();
    calendar.BitBtnNewHourProg1Click();
    EXPECT_EQ(Texts(calendar.StartHours()), Range(0, 15) + Range(20, 23) + Range(26, 47));
    calendar.ComboBoxStartHour1Change(StartIndexOf("10:00"));
    EXPECT_EQ(Texts(calendar.EndHours()), QStringList({"10:30", "11:00", "11:30", "12:00"}));
    calendar.ComboBoxStartHour1Change(StartIndexOf("11:30"));
    EXPECT_EQ(Texts(calendar.EndHours()), QStringList({"12:00"}));
    calendar.TabControl1Change(2);
    // The start chosen on Monday must not overwrite Tuesday's program.
    EXPECT_EQ(calendar.ComboBoxEndHour1Change(0, {"x"}), Result::Ok());
    EXPECT_EQ(calendar.TabControl1Change(kMonday), Result::Ok());
    EXPECT_TRUE(DayFile(2)[0] == "all day" && !DayFile(2).contains("x"))
        << DayFile(2).join(' ').toStdString();
}

TEST_F(CalendarTest, ChosenListsBecomeTheProgramValue) {
    QStringList twelve;
    for (int i = 0; i < 12; ++i) twelve.append(QStringLiteral("l%1").arg(i));
    const QString eleven = twelve.mid(0, 11).join('|') + '|';
    Open();
    ASSERT_EQ(AddProgram("10:00", "11:00", {"first"}), Result::Ok());
    // (chosen, stored, what the operator is told): the cut to 11 lists is a warning, a name
    // no program value holds is refused; nothing chosen ("Ακυρο") changes nothing.
    using Kind = Result::Kind;
    for (const auto& [chosen, stored, told] :
         {std::tuple{QStringList{"one"}, QString("one"), Kind::Ok},
          {QStringList{"a", "b", "c"}, "a|b|c|", Kind::Ok},
          {twelve, eleven, Kind::Warning},
          {QStringList{}, eleven, Kind::Ok},
          {QStringList{"a|b"}, eleven, Kind::Error}}) {
        calendar.SelectRow(0);
        EXPECT_EQ(calendar.ButtonSetProgr1Click(chosen).kind(), told) << stored.toStdString();
        EXPECT_EQ(DayFile(kMonday).mid(20, 2), QStringList({stored, "###SAME###"}));
    }
    AddProgram("12:00", "13:00", {});
    EXPECT_EQ(DayFile(kMonday)[24], "###NULL###");
    EXPECT_EQ(programsChanged, 1 + 3);
}

TEST_F(CalendarTest, DeletedProgramIsSavedByADayChangeAndDroppedBySameAsAnUnsavedDay) {
    station.WriteDays({{kMonday, "10:00", "12:00", "a"}, {3, "06:00", "07:00", "w"}});
    Open();
    calendar.SelectRow(0);
    calendar.BitBtnDelHourProg1Click();
    EXPECT_TRUE(calendar.Rows().empty());
    EXPECT_EQ(DayFile(kMonday)[20], "a") << "delete alone does not write";
    // Thursday was never saved: Monday's file stays and the unsaved delete is dropped.
    EXPECT_EQ(calendar.BitBtnIdioProMe1Click(4), Result::Ok());
    EXPECT_EQ(DayFile(kMonday)[20], "a");
    ASSERT_EQ(calendar.Rows().size(), 1u);

    calendar.SelectRow(0);
    calendar.BitBtnDelHourProg1Click();
    EXPECT_EQ(calendar.TabControl1Change(2), Result::Ok());
    EXPECT_EQ(calendar.TabControl1Change(kMonday), Result::Ok());
    EXPECT_TRUE(calendar.Rows().empty());
    EXPECT_EQ(DayFile(2), QStringList(48, "###NULL###")) << "a day shown and left is saved";
    EXPECT_EQ(calendar.BitBtnIdioProMe1Click(3), Result::Ok());
    EXPECT_EQ(DayFile(kMonday), DayFile(3));
    EXPECT_EQ(calendar.Rows()[0].text, "06:00 - 07:00     w");
    EXPECT_EQ(programsChanged, 0);
}

}  // namespace
