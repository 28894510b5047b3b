// A day file read as the day's 48 slots, and the rows of its program list.
#include "schedule/day_program.h"

#include "scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteScratch(QStringLiteral("3"), data, size);
    const ReadResult<QStringList> day = day_program::ReadDay(ScratchFolder(), 3);
    if (day.value.size() != day_program::kSlotCount) std::abort();
    for (const day_program::ProgramRow& row : day_program::ProgramRows(day.value)) {
        if (row.startSlot < 0 || row.endSlot <= row.startSlot || row.endSlot > 48) std::abort();
        day_program::SpanOfSlot(day.value, row.startSlot);
    }
    return 0;
}
