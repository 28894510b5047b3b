#pragma once

class Station;

/// What the window shows of the program, as plain values read off the core.
struct ProgramState {};

/// Read on the core's thread.
ProgramState ProgramStateOf(const Station& station);
