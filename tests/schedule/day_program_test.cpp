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
                    .isEmpty());
    const DayReadResult day = ReadDay(station.DaysPath(), 5);
    ASSERT_TRUE(day.ok());
    ASSERT_EQ(day.slots.size(), kSlotCount);
    EXPECT_EQ(day.slots.mid(6), QStringList(42, kNullSlot));
    const std::vector<ProgramRow> rows = ProgramRows(day.slots);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].text, "00:00 - 00:30     ###SAME###");
    EXPECT_EQ(rows[1].text, "00:30 - 01:30     a");
    EXPECT_EQ(rows[2].text, "02:00 - 03:00     ");
    EXPECT_EQ(SpanOfSlot(day.slots, 0).startSlot, 0);
    EXPECT_EQ(SpanOfSlot(day.slots, 0).endSlot, 1);
    EXPECT_EQ(SpanOfSlot(day.slots, 2).startSlot, 1);
    EXPECT_EQ(SpanOfSlot(day.slots, 2).endSlot, 3);
}

}  // namespace
