#pragma once

class Station;

/// What the window shows of the window, as plain values read off the core.
struct WindowState {};

/// Read on the core's thread.
WindowState WindowStateOf(const Station& station);
