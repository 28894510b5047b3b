#pragma once

class Station;

/// What the window shows of the player, as plain values read off the core.
struct PlayerState {};

/// Read on the core's thread.
PlayerState PlayerStateOf(const Station& station);
