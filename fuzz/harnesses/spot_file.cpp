// A spot file read as at least its 240 lines (those past them are kept), and the spots of
// each hour.
#include "spots/spot_file.h"

#include "scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteScratch(QStringLiteral("2-1"), data, size);
    const ReadResult<QStringList> lines = spot_file::Read(ScratchFolder(), 2, 1);
    if (lines.value.size() < spot_file::kLines) std::abort();
    for (int hour = 0; hour < spot_file::kHours; ++hour) {
        if (spot_file::SlotSpots(lines.value, hour).size() > spot_file::kSpotsPerSlot) std::abort();
    }
    return 0;
}
