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
        EXPECT_TRUE(calendar.SelectToday(kSomeMonday).isEmpty());
    }
    QStringList DayFile(int weekday) const {
        return text_file::ReadLines(day_program::DayFilePath(station.DaysPath(), weekday)).lines;
    }
    int StartIndexOf(const QString& time) const {
        return static_cast<int>(Texts(calendar.StartHours()).indexOf(time));
    }
    /// NEW, choose start and end, choose the lists in the list chooser.
    QString AddProgram(const QString& start, const QString& end, const QStringList& lists) {
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

TEST_F(CalendarTest, EmptyFolderOffersEveryHalfHourAndStoresAProgramToMidnight) {
    Open();
    EXPECT_TRUE(calendar.Rows().empty());
    calendar.BitBtnNewHourProg1Click();
    EXPECT_EQ(Texts(calendar.StartHours()), Range(0, 47));
    EXPECT_EQ(Texts(calendar.EndHours()).mid(46), QStringList({"23:30", "24:00"}));
    EXPECT_TRUE(calendar.StartHoursEnabled() && calendar.EndHoursEnabled());
    EXPECT_TRUE(AddProgram("22:00", "24:00", {"late"}).isEmpty());
    EXPECT_EQ(DayFile(kMonday).mid(43),
              QStringList({"###NULL###", "late", "###SAME###", "###SAME###", "###SAME###"}));
    ASSERT_EQ(calendar.Rows().size(), 1u);
    EXPECT_EQ(calendar.Rows()[0].text, "22:00 - 24:00     late");
    EXPECT_EQ(programsChanged, 1);
    EXPECT_FALSE(calendar.StartHoursEnabled() || calendar.EndHoursEnabled());
}

TEST_F(CalendarTest, StartsAndEndsStopAtOtherPrograms) {
    station.WriteDays({{kMonday, "08:00", "10:00", "a"}, {kMonday, "12:00", "13:00", "b"}});
    Open();
    calendar.BitBtnNewHourProg1Click();
    EXPECT_EQ(Texts(calendar.StartHours()), Range(0, 15) + Range(20, 23) + Range(26, 47));
    calendar.ComboBoxStartHour1Change(StartIndexOf("10:00"));
    EXPECT_EQ(Texts(calendar.EndHours()), QStringList({"10:30", "11:00", "11:30", "12:00"}));
    calendar.ComboBoxStartHour1Change(StartIndexOf("11:30"));
    EXPECT_EQ(Texts(calendar.EndHours()), QStringList({"12:00"}));
}

TEST_F(CalendarTest, ChosenListsBecomeTheProgramValue) {
    QStringList twelve;
    for (int i = 0; i < 12; ++i) twelve.append(QStringLiteral("l%1").arg(i));
    const QString eleven = twelve.mid(0, 11).join('|') + '|';
    Open();
    ASSERT_TRUE(AddProgram("10:00", "11:00", {"first"}).isEmpty());
    // (chosen, stored, whether the operator is told): only the cut to 11 lists and a name
    // no program value holds are told; nothing chosen ("Ακυρο") changes nothing.
    for (const auto& [chosen, stored, told] :
         {std::tuple{QStringList{"one"}, QString("one"), false},
          {QStringList{"a", "b", "c"}, "a|b|c|", false},
          {twelve, eleven, true},
          {QStringList{}, eleven, false},
          {QStringList{"a|b"}, eleven, true}}) {
        calendar.SelectRow(0);
        EXPECT_EQ(!calendar.ButtonSetProgr1Click(chosen).isEmpty(), told) << stored.toStdString();
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
    EXPECT_TRUE(calendar.BitBtnIdioProMe1Click(4).isEmpty());
    EXPECT_EQ(DayFile(kMonday)[20], "a");
    ASSERT_EQ(calendar.Rows().size(), 1u);
    calendar.SelectRow(0);
    calendar.BitBtnDelHourProg1Click();
    EXPECT_TRUE(calendar.TabControl1Change(2).isEmpty());
    EXPECT_TRUE(calendar.TabControl1Change(kMonday).isEmpty());
    EXPECT_TRUE(calendar.Rows().empty());
    EXPECT_EQ(DayFile(2), QStringList(48, "###NULL###")) << "a day shown and left is saved";
    EXPECT_TRUE(calendar.BitBtnIdioProMe1Click(3).isEmpty());
    EXPECT_EQ(DayFile(kMonday), DayFile(3));
    EXPECT_EQ(calendar.Rows()[0].text, "06:00 - 07:00     w");
    EXPECT_EQ(programsChanged, 0);
}

TEST_F(CalendarTest, DayChangeAbandonsAHalfMadeProgram) {
    station.WriteDays({{2, "00:00", "24:00", "all day"}});
    Open();
    calendar.BitBtnNewHourProg1Click();
    calendar.TabControl1Change(2);
    // The start chosen on Monday must not overwrite Tuesday's program.
    EXPECT_TRUE(calendar.ComboBoxEndHour1Change(0, {"x"}).isEmpty());
    EXPECT_EQ(calendar.TabControl1Change(kMonday), QString());
    EXPECT_EQ(DayFile(2)[0], "all day");
}

TEST_F(CalendarTest, FailedSaveKeepsTheChangeAndReportsIt) {
    Calendar broken(file_failure::PathUnderRegularFile(station.StartFolder(), "days1") + "/", lock);
    broken.SelectToday(kSomeMonday);
    broken.BitBtnNewHourProg1Click();
    EXPECT_FALSE(broken.ComboBoxEndHour1Change(0, {"x"}).isEmpty());
    EXPECT_EQ(broken.CalendarDay()[0], "x");
}

}  // namespace
