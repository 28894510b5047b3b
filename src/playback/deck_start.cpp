#include "playback/deck_start.h"

#include "playback/playback_engine.h"

void StartOnNextDeck(PlaybackEngine& engine, const QString& path, std::optional<DeckFade> fade,
                     std::uint8_t settle, const std::optional<QString>& title,
                     const std::function<void()>& announce) {
    Decks& decks = engine.Players();
    const int deck = decks.NextDeck;  // before the crossfade exchanges the roles
    if (fade) engine.BarsForTickParts().StartCrossfade(fade->step, fade->intervalMs);
    if (title) engine.ShowTrackName(*title);
    if (announce) announce();
    engine.HandingOver(deck, path);
    decks.LoadFileIntoDeck(deck, path);
    if (settle > 0) engine.LoopForTickParts().SettleTicks = settle;
}
