#include "housekeeping/appearance.h"

#include "playback/scrolling_text.h"

void MessageDrag::Start(int mouseX) {
    m_lastX = mouseX;
    m_marquee.Held = true;
}

void MessageDrag::Move(int mouseX) {
    if (!m_marquee.Held) return;
    m_marquee.LabelLeft += mouseX - m_lastX;
    m_lastX = mouseX;
}

void MessageDrag::End() { m_marquee.Held = false; }

bool MessageDrag::Dragging() const { return m_marquee.Held; }
