#pragma once

class Station;

/// What the window shows of the library, as plain values read off the core.
struct LibraryState {};

/// Read on the core's thread.
LibraryState LibraryStateOf(const Station& station);
