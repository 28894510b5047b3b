#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class PlaybackEngine;

/// A crossfade from the music to the sound started: the fade's step and its interval in
/// ms (0 takes the mixing interval).
struct DeckFade {
    int step = 0;
    int intervalMs = 0;
};

/// Starts a sound (a track, a spot, a jingle, the hour) on the next deck: with `fade` the
/// decks change roles in a crossfade, and the sound's deck is the one that was next before
/// it; without, the music plays on under it. `settle` ticks (0 leaves them) pass before
/// the tick looks at the deck again, and `title` (when given) goes into LabelTrackName1.
/// `announce` is told just before the file is handed over, once the crossfade has made
/// the sound's deck the current one: the as-run line comes before the deck's own.
void StartOnNextDeck(PlaybackEngine& engine, const QString& path, std::optional<DeckFade> fade,
                     std::uint8_t settle, const std::optional<QString>& title,
                     const std::function<void()>& announce);
