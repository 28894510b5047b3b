#pragma once

#include <QString>
#include <optional>

/// What one tick of the main loop saw: the clock, read once, and the current deck.
/// The deck fields are filled only for parts that wait for the deck.
struct TickMoment {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int positionSec = 0;
    int lengthSec = 0;
    int playState = 0;  ///< PlayerLink's state of the current deck
};

/// A part that shares the main loop's tick (the program of the hour, the spots, the next
/// track). The engine asks its parts in a fixed order; the first that takes the tick
/// ends it.
class TickPart {
public:
    virtual ~TickPart() = default;
    /// True when the part took the tick: the parts after it are not asked.
    virtual bool TakesTick(const TickMoment& moment) = 0;
    /// A part that waits for the deck is asked only while the current deck plays on
    /// steadily: not paused, not settling after a start.
    virtual bool WaitsForDeck() const { return true; }
    /// The file this part will start next when the current sound ends, when it is this
    /// part's to say (the next spot of a run); none leaves it to the parts after it. The
    /// engine readies that file on the idle deck.
    virtual std::optional<QString> ComesNext(const TickMoment& /*moment*/) const {
        return std::nullopt;
    }
    /// The idle deck could not open the file this part said comes next: the part passes
    /// over it, while there is time. False when the file is not this part's.
    virtual bool PassesOver(const QString& /*path*/) { return false; }
};
