// language.ini read from a start folder into the window's captions.
#include "housekeeping/caption_language.h"

#include "scratch.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    WriteScratch(QStringLiteral("language.ini"), data, size);
    const LanguageCaptions language = LoadLanguage(ScratchFolder());
    for (const Caption& caption : language.captions) {
        if (caption.text.size() > 1023) std::abort();
    }
    return 0;
}
