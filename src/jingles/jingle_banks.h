#pragma once

#include <QString>
#include <QStringList>

#include "base/result.h"

/// The jingle banks file: "jingles" in the spots folder, one tab a line, each line the name
/// of the stored list that is the tab's bank. Reading it and the captions of its jingles.
namespace jingle_banks {

inline constexpr int kDefaultTabCount = 11;

/// spotsPath + "jingles".
QString FilePath(const QString& spotsPath);
/// The bank of a tab that names no list of its own: "J" and the tab's index.
QString ClearedBankName(int tab);
/// The tabs of the banks file: its lines, or "J0".."J10" when it has none. A file that
/// cannot be read gives the same defaults and the error naming it.
ReadResult<QStringList> ReadTabs(const QString& spotsPath);
/// The button caption of a jingle: its title without the extension.
QString JingleCaption(const QString& path);

}  // namespace jingle_banks
