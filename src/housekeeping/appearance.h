#pragma once

struct Marquee;

/// Dragging `LabelMessages` sideways: the marquee holds still while the button is down and
/// the label follows the mouse's horizontal moves.
class MessageDrag {
public:
    explicit MessageDrag(Marquee& marquee) : m_marquee(marquee) {}
    void Start(int mouseX);
    void Move(int mouseX);
    void End();
    bool Dragging() const;

private:
    Marquee& m_marquee;
    int m_lastX = 0;
};
