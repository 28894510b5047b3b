#include "jingles/jingle_banks.h"

#include "base/text_file.h"
#include "schedule/list_file.h"

namespace {

// Longer than this after the last dot, it is part of the title, not an extension.
constexpr int kLongestExtension = 4;

}  // namespace

namespace jingle_banks {

QString FilePath(const QString& spotsPath) { return spotsPath + QStringLiteral("jingles"); }

QString ClearedBankName(int tab) { return QStringLiteral("J%1").arg(tab); }

ReadResult<QStringList> ReadTabs(const QString& spotsPath) {
    ReadResult<QStringList> banks = text_file::ReadLines(FilePath(spotsPath));
    // A file without a line would leave no tab to set a bank on.
    if (banks.value.isEmpty()) {
        for (int i = 0; i < kDefaultTabCount; ++i) banks.value << ClearedBankName(i);
    }
    return banks;
}

QString JingleCaption(const QString& path) {
    const QString title = TrackTitle(path);
    const qsizetype dot = title.lastIndexOf(u'.');
    if (dot <= 0 || title.size() - dot - 1 > kLongestExtension) return title;
    return title.left(dot);
}

}  // namespace jingle_banks
