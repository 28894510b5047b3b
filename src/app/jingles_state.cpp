#include "app/jingles_state.h"

#include "app/station.h"

static_assert(JinglesState::kButtonCount == JingleWall::kButtonCount);

JinglesState JinglesStateOf(const Station& station) {
    const JingleWall& wall = station.Jingles();
    return {wall.TabNames(),          wall.CurrentTab(), wall.ButtonCaptions(),
            wall.LastJingleCaption(), wall.FadeJingles,  station.Lock().LockPrograms};
}
