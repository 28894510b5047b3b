#pragma once

#include "app/station.h"

/// A test of one room drives it inside a whole station: the rooms the station keeps to
/// itself, for such tests only. The program changes them only through its commands.
class StationRooms {
public:
    static PlaybackEngine& Engine(Station& s) { return s.m_engine; }
    static SpotRunner& Spots(Station& s) { return s.m_spots; }
    static JingleWall& Jingles(Station& s) { return s.m_jingles; }
    static ProgramLock& Lock(Station& s) { return s.m_lock; }
    static LineIn& LineInput(Station& s) { return s.m_lineIn; }
    static AirWatch& Air(Station& s) { return s.m_airWatch; }
    static Calendar& CalendarTab(Station& s) { return s.m_calendar; }
};
