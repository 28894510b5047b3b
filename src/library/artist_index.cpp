#include "library/artist_index.h"

#include <map>

#include "library/list_shelf.h"
#include "schedule/list_file.h"

std::optional<QString> ArtistOf(const QString& title) {
    const qsizetype dash = title.indexOf(u'-');
    if (dash < 0) return std::nullopt;
    return title.left(dash);
}

QString LowerLatin(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (c >= u'A' && c <= u'Z') c = QChar(c.unicode() + (u'a' - u'A'));
    return out;
}

ArtistList BuildArtistList(const QString& listsPath, bool includeCds) {
    // Keyed by the lower-cased artist, which QString orders code unit by code unit; the
    // value is the spelling first met.
    std::map<QString, QString> byKey;
    const auto visit = [&byKey](const QString&, const QStringList& lines) {
        for (const QString& line : lines) {
            const std::optional<QString> artist = ArtistOf(TrackTitle(line));
            if (artist) byKey.try_emplace(LowerLatin(*artist), *artist);
        }
    };
    ArtistList list;
    list.problems = WalkListShelf(listsPath, includeCds, visit);
    list.artists.reserve(static_cast<qsizetype>(byKey.size()));
    for (const auto& kept : byKey) list.artists.append(kept.second);
    return list;
}

ArtistTracks ShowArtistTracks(const QString& listsPath, bool includeCds, const QString& artist) {
    ArtistTracks tracks;
    // An empty key would match every title; the artist made of nothing names no track.
    if (artist.isEmpty()) return tracks;
    const QString key = LowerLatin(artist);
    const auto visit = [&](const QString& listName, const QStringList& lines) {
        for (const QString& line : lines) {
            const QString title = TrackTitle(line);
            if (LowerLatin(title).startsWith(key))
                tracks.rows.append({title, MakeTrackEntry(line, listName)});
        }
    };
    tracks.problems = WalkListShelf(listsPath, includeCds, visit);
    SortLikeListBox(tracks.rows);
    return tracks;
}
