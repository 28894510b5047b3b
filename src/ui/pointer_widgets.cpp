#include "ui/pointer_widgets.h"

#include <QMouseEvent>

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Q_EMIT clicked();
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) Q_EMIT doubleClicked();
    QLabel::mouseDoubleClickEvent(event);
}

// The knob is not a push button to the operator: it never "clicks", it is dragged.
void KnobButton::mousePressEvent(QMouseEvent* event) {
    Q_EMIT pressedAt(event->button() == Qt::LeftButton, int(event->position().x()));
    event->accept();
}

void KnobButton::mouseMoveEvent(QMouseEvent* event) {
    Q_EMIT movedTo(int(event->position().x()));
    event->accept();
}

void KnobButton::mouseReleaseEvent(QMouseEvent* event) {
    Q_EMIT releasedAt();
    event->accept();
}
