// The text-file decoder: a file read as lines, and the Greek code page both ways.
#include "base/text_file.h"

#include "scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes = InputBytes(data, size);
    text_file::ReadLines(WriteScratch(QStringLiteral("text"), data, size));
    const QString greek = text_file::DecodeWindows1253(bytes);
    // Every byte has a character of its own, so the code page gives the bytes back.
    if (text_file::EncodeWindows1253(greek) != bytes) std::abort();
    text_file::SplitLines(text_file::DecodeText(bytes));
    return 0;
}
