#pragma once

#include <QString>

/// A track as a library view hands it over: the title it shows and the path or track
/// entry behind it.
struct TrackPick {
    QString title;
    QString path;
};
