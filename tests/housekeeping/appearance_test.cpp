#include "housekeeping/appearance.h"

#include <gtest/gtest.h>

#include "playback/scrolling_text.h"

namespace {

TEST(MessageDragTest, TheLabelFollowsTheMouseAndScrollsAgainOnceReleased) {
    Marquee marquee{100, 50, 400, false};
    MessageDrag drag(marquee);
    drag.Start(300);
    marquee.Step();
    drag.Move(330);
    drag.Move(325);
    marquee.Step();
    EXPECT_EQ(marquee.LabelLeft, 125);
    drag.End();
    drag.Move(400);
    marquee.Step();
    EXPECT_EQ(marquee.LabelLeft, 115);
}

}  // namespace
