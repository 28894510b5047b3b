#include "playback/deck_panel.h"

#include <QTime>

#include "base/min_sec.h"
#include "base/timer_host.h"

namespace {

constexpr int kTitleMs = 400;

}  // namespace

DeckPanel::DeckPanel(TimerHost& timers)
    : m_trackName1(timers.CreateTimer(QStringLiteral("TimerTrackName1"), kTitleMs, [this] {
          // Self-disabling, so a tick is re-armed from its end.
          m_trackName1->SetEnabled(false);
          m_title.Tick();
          m_trackName1->SetEnabled(true);
      })) {}

DeckPanel::~DeckPanel() = default;

void DeckPanel::ShowClock(const QTime& now) {
    m_display.LabelTime1 = now.toString(QStringLiteral("hh:mm:ss"));
}

void DeckPanel::ShowTrackTime(long long positionSec, long long lengthSec) {
    m_display.LabelLenghtOfTrack = FormatMinSec(lengthSec);
    m_display.LabelPlayTime = FormatMinSec(positionSec);
    m_display.LabelRemainingTime = QStringLiteral("-") + FormatMinSec(lengthSec - positionSec);
    m_knob.Place(positionSec, lengthSec);
}

void DeckPanel::ShowTrackName(const QString& title) {
    m_trackName = title;
    RestartTitleScroll();
}

void DeckPanel::SetTitleWidth(int width, const QString& title) {
    if (title != m_trackName) return;
    m_title.LabelWidth = width;
    RestartTitleScroll();
}

void DeckPanel::SetTitlePanelWidth(int width) { m_title.PanelWidth = width; }

void DeckPanel::RestartTitleScroll() {
    m_title.Restart();
    m_trackName1->SetEnabled(m_title.Running);
}

void DeckPanel::SetKnobGeometry(int barLeft, int barWidth, int knobWidth) {
    m_knob.SetGeometry(barLeft, barWidth, knobWidth);
}

void DeckPanel::KnobPress(bool leftButton, int x) { m_knob.Press(leftButton, x); }
void DeckPanel::KnobMove(int x) { m_knob.Move(x); }
long long DeckPanel::KnobRelease() { return m_knob.Release(); }
