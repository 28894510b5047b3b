#pragma once

class Station;

/// What the window shows of the calendar, as plain values read off the core.
struct CalendarState {};

/// Read on the core's thread.
CalendarState CalendarStateOf(const Station& station);
