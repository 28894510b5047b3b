#include "player/line_in_control.h"

void SimulatedLineInControl::Open(const QString&) { m_open = true; }

void SimulatedLineInControl::SetVolume(int v) {
    m_volume = v;
    Q_EMIT VolumeSet(v);
}

void SimulatedLineInControl::Close() { m_open = false; }
