#pragma once

#include <QString>

/// Audible fixtures for tests with real decks: a stereo sine tone as an MP3 file, made
/// with ffmpeg, after leadSec and before tailSec of silence. Returns an error text, empty on
/// success.
QString WriteToneMp3(const QString& path, double hz, double seconds, double amplitude = 0.5,
                     double leadSec = 0, double tailSec = 0);
