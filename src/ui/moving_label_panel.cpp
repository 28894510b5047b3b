#include "ui/moving_label_panel.h"

#include <QFontMetrics>
#include <QLabel>
#include <QResizeEvent>

MovingLabelPanel::MovingLabelPanel(const QString& panelName, const QString& labelName,
                                   QWidget* parent)
    : QFrame(parent), m_label(new QLabel(this)) {
    setObjectName(panelName);
    m_label->setObjectName(labelName);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

bool MovingLabelPanel::SetText(const QString& text) {
    if (m_label->text() == text) return false;
    m_label->setText(text);
    m_label->resize(TextWidth(text) + 2, height());
    return true;
}

int MovingLabelPanel::TextWidth(const QString& text) const {
    return QFontMetrics(m_label->font()).horizontalAdvance(text);
}

void MovingLabelPanel::SetLabelLeft(int left) { m_label->move(left, 0); }

void MovingLabelPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    m_label->resize(m_label->width(), height());
    Q_EMIT WidthChanged(width());
}
