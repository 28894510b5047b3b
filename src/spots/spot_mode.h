#pragma once

/// How the scheduled spots play, as the options' "Spots" frame chooses; the stored setting
/// keeps these values.
enum class SpotMode : int { Just = 1, Best = 2, After = 3, Off = 4 };

/// The mode a stored value plays as: a value other than 1 to 4 plays, and shows, as Just.
SpotMode SpotModeOf(int stored);
