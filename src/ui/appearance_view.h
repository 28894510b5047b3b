#pragma once

#include <QFont>
#include <QObject>
#include <memory>

class AppearancePicker;
class MessageDrag;
class MovingLabelPanel;
class QMenu;
class QWidget;
class Station;

/// The window's side of the operator's colours and fonts and of the user message:
/// "Color...", "Text Color...", "Fonts..." and "Normal Function" in the Options menu, the presses
/// on the paintable controls, and the message panel's right click (the input box) and drag.
class AppearanceView final : public QObject {
    Q_OBJECT
public:
    AppearanceView(Station& station, QWidget& window, MovingLabelPanel& messages);
    ~AppearanceView() override;

    /// Adds the four items to the Options menu.
    void AddMenuItems(QMenu& options);
    /// Watches the presses on every paintable control of the window; after it is built.
    void WatchControls();

Q_SIGNALS:
    /// The message's text or place changed.
    void messageChanged();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PickColour(bool forText);
    void PickFont();
    void Paint(const QString& pressed);
    bool MessageMouse(QEvent* event);
    void EditMessage();

    Station& m_station;
    QWidget& m_window;
    MovingLabelPanel& m_messages;
    std::unique_ptr<AppearancePicker> m_picker;
    std::unique_ptr<MessageDrag> m_drag;
    QFont m_font;
};
