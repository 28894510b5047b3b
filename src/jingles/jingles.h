#pragma once

/// The jingles room: the jingle banks, the jingle keys and the hour announcement. Each of
/// them that acts on the main loop's tick will be a TickPart (playback/tick_part.h) the
/// station adds to the engine; none needs a place in PlaybackEngine. Nothing here plays
/// yet.
