#pragma once

class Station;

/// What the window shows of the spots, as plain values read off the core.
struct SpotsState {};

/// Read on the core's thread.
SpotsState SpotsStateOf(const Station& station);
