#pragma once

#include "base/result.h"
#include "base/settings_table.h"

/// "Lock Programs": the one switch that the calendar and the list editor both read. While
/// it is on, every command that would change a day program or a list refuses, whichever
/// widget or key asks for it.
struct ProgramLock {
    ProgramLock() { m_settings.Add("LockPrograms", LockPrograms); }

    bool LockPrograms = false;
    /// An error with the operator's message for an edit asked while locked; Ok while edits
    /// are allowed.
    Result Refusal() const;

    /// LockPrograms, as the station's settings keep it.
    SettingsTable& Settings() { return m_settings; }

private:
    SettingsTable m_settings;
};
