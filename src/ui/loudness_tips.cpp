#include "ui/loudness_tips.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

#include "app/station_client.h"

LoudnessTips::LoudnessTips(QAbstractItemView& view, StationClient& client,
                           std::function<void(int)> ask)
    : QObject(&view), m_view(view), m_client(client), m_ask(std::move(ask)) {
    view.viewport()->installEventFilter(this);
    connect(&client, &StationClient::StateChanged, this, &LoudnessTips::ShowAnswer);
}

bool LoudnessTips::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_view.viewport() || event->type() != QEvent::ToolTip)
        return QObject::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int row = m_view.indexAt(help->pos()).row();
    if (row < 0) {
        QToolTip::hideText();
        m_waiting = false;
        return true;
    }
    m_at = help->globalPos();
    m_serialAsked = m_client.State().analysis.shownSerial;
    m_waiting = true;
    m_ask(row);
    return true;
}

void LoudnessTips::ShowAnswer() {
    const AnalysisState& analysis = m_client.State().analysis;
    if (!m_waiting || analysis.shownSerial == m_serialAsked) return;
    m_waiting = false;
    // Shown for the viewport: it goes when the pointer leaves it.
    QToolTip::showText(m_at, analysis.shownText, m_view.viewport());
}
