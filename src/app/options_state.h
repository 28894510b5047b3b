#pragma once

class Station;

/// What the window shows of the options, as plain values read off the core.
struct OptionsState {};

/// Read on the core's thread.
OptionsState OptionsStateOf(const Station& station);
