#pragma once

#include "player/line_in_control.h"

/// The line input as a Windows auxiliary audio device: the first one with volume control
/// whose technology marks an auxiliary input. Without one, levels go nowhere, silently.
class WinLineInControl final : public LineInControl {
    Q_OBJECT
public:
    using LineInControl::LineInControl;

    /// Looks the device up; the source name is not used (the device is found, not named).
    void Open(const QString& source) override;
    void SetVolume(int v) override;
    void Close() override {}

private:
    unsigned m_device = 0;  // LineInDevice: 0 until one is found
};
