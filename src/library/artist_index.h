#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "library/track_rows.h"

/// The Artists page: the artists named in the titles of all lists, and the tracks of one.

/// The artist of a title: the text before its first "-", exactly as written (blanks
/// stay); empty for a title that starts with "-"; none for a title without "-".
std::optional<QString> ArtistOf(const QString& title);

/// Lower-cases "A".."Z" only; Greek letters and everything else stay.
QString LowerLatin(const QString& text);

struct ArtistList {
    /// `ListBoxArtist`: ordered by the lower-cased artist, code unit by code unit; artists
    /// equal after lower-casing share the row spelled as first met.
    QStringList artists;
    QStringList problems;  ///< lists that exist but could not be read
};
/// `BuildArtistList` over the lists of listsPath (ending in "/"), CD lists only when included.
ArtistList BuildArtistList(const QString& listsPath, bool includeCds);

struct ArtistTracks {
    /// title / "line^list", sorted like a list box.
    QList<TrackRow> rows;
    QStringList problems;
};
/// `ShowArtistTracks`: the lines whose lower-cased titles begin with the lower-cased
/// artist. The empty artist has no tracks.
ArtistTracks ShowArtistTracks(const QString& listsPath, bool includeCds, const QString& artist);
