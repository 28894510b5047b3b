// A list file read from the lists folder, and each of its lines taken as a track entry
// and as a program value.
#include "schedule/list_file.h"

#include "scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteScratch(QStringLiteral("List"), data, size);
    const ReadResult<QStringList> lines = list_file::Read(ScratchFolder(), QStringLiteral("List"));
    for (const QString& line : lines.value) {
        const TrackEntryParts parts = SplitTrackEntry(line);
        if (!parts.listName.isEmpty() && MakeTrackEntry(parts.path, parts.listName) != line)
            std::abort();
        TrackTitle(parts.path);
        SplitProgramValue(line);
        ListNameRefusal(line);
    }
    return 0;
}
