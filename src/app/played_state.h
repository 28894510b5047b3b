#pragma once

class Station;

/// What the window shows of the played, as plain values read off the core.
struct PlayedState {};

/// Read on the core's thread.
PlayedState PlayedStateOf(const Station& station);
