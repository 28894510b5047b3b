#include "platform/player_link_factory.h"

#include <gtest/gtest.h>

#include "base/virtual_timer_host.h"
#include "platform/mpv_player_link.h"
#include "player/simulated_player_link.h"

TEST(PlayerLinkFactoryTest, MakesTheDecksByKind) {
    VirtualTimerHost host(QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
    EXPECT_EQ(DefaultPlayerKind(), "mpv");
    EXPECT_NE(dynamic_cast<SimulatedPlayerLink*>(MakePlayerLink("simulated", host, host).get()),
              nullptr);
    EXPECT_NE(dynamic_cast<MpvPlayerLink*>(MakePlayerLink("mpv", host, host, {"--ao=null"}).get()),
              nullptr);
    EXPECT_EQ(MakePlayerLink("winamp", host, host), nullptr) << "Windows only";
    EXPECT_EQ(MakePlayerLink("", host, host), nullptr);
}
