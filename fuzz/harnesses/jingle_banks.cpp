// The jingle banks file read as tabs, each tab's bank read as a list (the input again),
// and the captions of its jingles.
#include "jingles/jingle_banks.h"

#include "schedule/list_file.h"
#include "scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteScratch(QStringLiteral("jingles"), data, size);
    const ReadResult<QStringList> tabs = jingle_banks::ReadTabs(ScratchFolder());
    if (tabs.value.isEmpty()) std::abort();
    const ReadResult<QStringList> bank =
        list_file::Read(ScratchFolder(), tabs.value.value(0));  // "jingles" itself, maybe
    for (const QString& path : bank.value) jingle_banks::JingleCaption(path);
    return 0;
}
