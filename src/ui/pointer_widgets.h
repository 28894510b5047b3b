#pragma once

#include <QLabel>
#include <QPushButton>

/// Small widgets that report the mouse to the core in the terms it uses.

/// A label that reports clicks and double clicks (the next-track labels).
class ClickableLabel final : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

Q_SIGNALS:
    void clicked();
    void doubleClicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};

/// The position knob: reports press, move and release with the mouse's x within itself.
class KnobButton final : public QPushButton {
    Q_OBJECT
public:
    using QPushButton::QPushButton;

Q_SIGNALS:
    void pressedAt(bool leftButton, int x);
    void movedTo(int x);
    void releasedAt();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
