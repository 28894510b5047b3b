// The MPEG reader on a file of the input's bytes, and its header decoder on each word of it.
#include "media/mpeg_data.h"

#include "scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TMPEGData mpeg;
    mpeg.ReadFromFile(WriteScratch(QStringLiteral("track.mp3"), data, size));
    // A frame found is one of the file's, and the time comes from its length.
    if (mpeg.IsValid() && (mpeg.FileLength != qint64(size) || mpeg.FrameLength == 0)) std::abort();
    for (std::size_t i = 0; i + 4 <= size && i < 64; ++i)
        mpeg.DecodeHeader(std::uint32_t(data[i]) << 24 | data[i + 1] << 16 | data[i + 2] << 8 |
                          data[i + 3]);
    return 0;
}
