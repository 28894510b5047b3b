#include "playback/track_info.h"

#include "base/min_sec.h"
#include "schedule/list_file.h"

QString TrackInfoText(const QString& entry, std::optional<std::uint32_t> seconds) {
    // The title is taken from the whole entry, so for a track entry it still carries
    // "^" and the list name; the splits below rely on that order.
    const QString title = TrackTitle(entry);
    QString artist;
    QString rest = title;
    if (const qsizetype dash = title.indexOf(u'-'); dash >= 0) {
        artist = title.left(dash);
        rest = title.mid(dash + 1);
    }
    QString category;
    if (const qsizetype caret = rest.indexOf(u'^'); caret >= 0) {
        category = rest.mid(caret + 1);
        rest = rest.left(caret);
    }
    const QString song = rest.left(std::max<qsizetype>(rest.size() - 4, 0));
    const QString length = seconds ? FormatMinSec(*seconds) : QStringLiteral("--:--");

    const QChar cr(13);
    return QStringLiteral("Artist: ") + artist + cr + QStringLiteral("song :      ") + song + cr +
           QStringLiteral("length :       ") + length + QStringLiteral("         Category:    ") +
           category;
}
