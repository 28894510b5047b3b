#include <gtest/gtest.h>

#include "support/engine_rig.h"

// After a start the tick waits for a deck not playing its file yet, but not for one gone.
TEST(Settling, WaitsForADeckThatIsThereButNotForOneThatIsGone) {
    for (const bool gone : {false, true}) {
        EngineRig rig;
        const QStringList tracks = rig.Tracks({60, 60});
        rig.LoadProgram("L", {gone ? tracks[0] : rig.dir.filePath("not there.mp3"), tracks[1]});
        rig.StartLoop();
        rig.Advance(800);  // 400 ms after the first start
        if (gone) rig.link.Kill(rig.Current());
        rig.Advance(gone ? 400 : 3'600);
        EXPECT_EQ(rig.Events("load").size(), gone ? 2u : 1u) << gone;
    }
}
