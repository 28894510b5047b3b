#pragma once

class Station;

/// What the window shows of the lists, as plain values read off the core.
struct ListsState {};

/// Read on the core's thread.
ListsState ListsStateOf(const Station& station);
