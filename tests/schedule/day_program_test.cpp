#include "schedule/day_program.h"

#include <gtest/gtest.h>

#include "base/text_file.h"
#include "support/station_folder.h"

namespace {

using namespace day_program;

TEST(DayProgramTest, ShortFileAndStraySameMarkers) {
    StationFolder station;
    // Six lines only: slot 0 continues nothing and slot 3 follows an empty slot.
    ASSERT_TRUE(text_file::WriteLines(DayFilePath(station.DaysPath(), 5),
                                      {kSameSlot, "a", kSameSlot, kNullSlot, "", kSameSlot})
                    .ok());
    const ReadResult<QStringList> day = ReadDay(station.DaysPath(), 5);
    ASSERT_TRUE(day.ok());
    ASSERT_EQ(day.value.size(), kSlotCount);
    EXPECT_EQ(day.value.mid(6), QStringList(42, kNullSlot));
    QStringList seen;  // the rows shown, then the spans of slots 0 and 2
    for (const ProgramRow& row : ProgramRows(day.value)) seen << row.text;
    for (int slot : {0, 2})
        seen << QString("%1-%2")
                    .arg(SpanOfSlot(day.value, slot).startSlot)
                    .arg(SpanOfSlot(day.value, slot).endSlot);
    EXPECT_EQ(seen, QStringList({"00:00 - 00:30     ###SAME###", "00:30 - 01:30     a",
                                 "02:00 - 03:00     ", "0-1", "1-3"}));
}

}  // namespace
