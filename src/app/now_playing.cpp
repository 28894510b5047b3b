#include "app/now_playing.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>

#include "base/text_file.h"

namespace {

// "Artist - Title": the artist is what comes before the first " - "; a name without one is
// all title.
QJsonObject TrackObject(const QString& file) {
    const QString text = NowPlayingText(file);
    const qsizetype dash = text.indexOf(QStringLiteral(" - "));
    return {{QStringLiteral("artist"), dash < 0 ? QString() : text.left(dash).trimmed()},
            {QStringLiteral("title"), dash < 0 ? text : text.mid(dash + 3).trimmed()},
            {QStringLiteral("file"), file}};
}

}  // namespace

QString NowPlayingText(const QString& file) { return QFileInfo(file).completeBaseName(); }

QByteArray NowPlayingJson(const NowPlaying& now) {
    QJsonObject json = TrackObject(now.file);
    json.insert(
        QStringLiteral("started"),
        now.started.toOffsetFromUtc(now.started.offsetFromUtc()).toString(Qt::ISODateWithMs));
    json.insert(QStringLiteral("length"),
                now.lengthSec ? QJsonValue(*now.lengthSec) : QJsonValue(QJsonValue::Null));
    json.insert(QStringLiteral("next"), now.nextFile.isEmpty()
                                            ? QJsonValue(QJsonValue::Null)
                                            : QJsonValue(TrackObject(now.nextFile)));
    return QJsonDocument(json).toJson(QJsonDocument::Indented);
}

Result WriteNowPlaying(const QString& folder, const NowPlaying& now) {
    if (Result text = text_file::WriteBytes(folder + QStringLiteral("nowplaying.txt"),
                                            NowPlayingText(now.file).toUtf8() + '\n');
        !text.ok())
        return text;
    return text_file::WriteBytes(folder + QStringLiteral("nowplaying.json"), NowPlayingJson(now));
}
