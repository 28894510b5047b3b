#pragma once

class Station;

/// What the window shows of the jingles, as plain values read off the core.
struct JinglesState {};

/// Read on the core's thread.
JinglesState JinglesStateOf(const Station& station);
