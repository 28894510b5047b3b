#include "player/line_in.h"

#include <algorithm>

#include "base/timer_host.h"
#include "player/line_in_control.h"
#include "player/volume_bars.h"

namespace {

constexpr int kTickMs = 200;
constexpr int kStep = 20;

}  // namespace

LineIn::LineIn(VolumeBars& bars, TimerHost& timers, LineInControl& control)
    : m_bars(bars), m_control(control) {
    m_timer = timers.CreateTimer(QStringLiteral("TimerLineIn1"), kTickMs,
                                 [this] { TimerLineIn1Timer(); });
    m_settings.Add("LineInSource", LineInSource);
    connect(&m_control, &LineInControl::Problem, this, &LineIn::Problem);
}

LineIn::~LineIn() = default;

int LineIn::ControlVolume(int q) { return 255 - q * 255 / 100; }

void LineIn::StartUp() {
    m_control.Open(LineInSource);
    Send();
}

void LineIn::Close() {
    m_timer->SetEnabled(false);
    m_control.Close();
}

void LineIn::SetButtonDown(bool down) {
    const bool changed = down != m_down;
    m_down = down;
    if (changed) Q_EMIT Toggled(down);
    Run();
}

void LineIn::ClickAmpButton(int index) {
    m_bars.PressedAmpButton = index & 1;
    Run();
}

void LineIn::Run() {
    // The deck makes room for the line and takes its place again afterwards.
    if (m_down) {
        m_bars.FadeOut0();
        m_step = kStep;
    } else {
        m_bars.FadeIn0();
        m_step = -kStep;
    }
    m_timer->SetEnabled(true);
}

void LineIn::MoveBarByHand(int position) {
    m_position = std::clamp(position, 0, 100);
    Send();
}

bool LineIn::Fading() const { return m_timer->Enabled(); }

void LineIn::TimerLineIn1Timer() {
    m_timer->SetEnabled(false);
    // Each tick starts from where the bar is, so a press during a fade turns it round.
    int q = m_position - m_step;
    bool over = false;
    if (q >= 100) {
        q = 100;
        over = true;
    } else if (q <= 0) {
        q = 0;
        over = true;
    }
    m_position = q;
    Send();
    if (!over) m_timer->SetEnabled(true);
}

void LineIn::Send() { m_control.SetVolume(ControlVolume(m_position)); }
