#pragma once

#include <gmock/gmock.h>

#include "player/player_link.h"

/// A player link whose answers and received commands a test states call by call.
class MockPlayerLink : public PlayerLink {
public:
    MOCK_METHOD(bool, ProgramExists, (const QString& programPath), (const, override));
    MOCK_METHOD(void, Launch, (int deck, const QString& programPath), (override));
    MOCK_METHOD(bool, Find, (int deck), (override));
    MOCK_METHOD(int, PlayState, (int deck), (override));
    MOCK_METHOD(int, PositionMs, (int deck), (override));
    MOCK_METHOD(int, LengthSec, (int deck), (override));
    MOCK_METHOD(void, JumpTo, (int deck, int ms), (override));
    MOCK_METHOD(void, SetVolume, (int deck, int volume), (override));
    MOCK_METHOD(void, TogglePause, (int deck), (override));
    MOCK_METHOD(void, Stop, (int deck), (override));
    MOCK_METHOD(void, StopWithFade, (int deck), (override));
    MOCK_METHOD(void, HandOver, (int deck, const QString& path), (override));
    MOCK_METHOD(Deaths, DeathsOf, (int deck), (const, override));
    /// The deck's own news, as a player tells it.
    using PlayerLink::Tell;
};
