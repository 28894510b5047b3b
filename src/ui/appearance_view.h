#pragma once

#include <QFont>
#include <QObject>
#include <memory>

class AppearancePicker;
struct Marquee;
class MessageDrag;
class MovingLabelPanel;
class QMenu;
class QWidget;
class StationClient;

/// The window's side of the operator's colours and fonts and of the user message:
/// "Color...", "Text Color...", "Fonts..." and "Normal Function" in the Options menu, the presses
/// on the paintable controls, and the message panel's right click (the input box) and drag.
/// The colours painted and the message typed go to the core as commands ("colour",
/// "owner-message"); the window shows them at once.
class AppearanceView final : public QObject {
    Q_OBJECT
public:
    /// messageMarquee is the marquee the message's drag holds still.
    AppearanceView(StationClient& client, QWidget& window, MovingLabelPanel& messages,
                   Marquee& messageMarquee);
    ~AppearanceView() override;

    /// Adds the four items to the Options menu.
    void AddMenuItems(QMenu& options);
    /// Watches the presses on every paintable control of the window; after it is built.
    void WatchControls();

Q_SIGNALS:
    /// The message's text, font or place changed: its label's width is to be reported.
    void messageChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PickColour(bool forText);
    void PickFont();
    void Paint(const QString& pressed);
    bool MessageMouse(QEvent* event);
    void EditMessage();

    StationClient& m_client;
    Marquee& m_marquee;
    QWidget& m_window;
    MovingLabelPanel& m_messages;
    std::unique_ptr<AppearancePicker> m_picker;
    std::unique_ptr<MessageDrag> m_drag;
    QFont m_font;
};
