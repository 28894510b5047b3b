#pragma once

#include <QFont>
#include <QObject>
#include <memory>

class AppearancePicker;
class MovingLabelPanel;
class QMenu;
class QWidget;
class StationClient;

/// The window's side of the operator's colours and fonts and of the user message:
/// "Color...", "Text Color...", "Fonts..." and "Normal Function" in the Options menu, the presses
/// on the paintable controls, and the message panel's right click (the input box) and drag.
/// The colours painted, the message typed and its drag go to the core as commands ("colour",
/// "owner-message", "message-drag-..."); the window shows the colours and the text at once,
/// the dragged label where the core's state puts it.
class AppearanceView final : public QObject {
    Q_OBJECT
public:
    AppearanceView(StationClient& client, QWidget& window, MovingLabelPanel& messages);
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
    QWidget& m_window;
    MovingLabelPanel& m_messages;
    std::unique_ptr<AppearancePicker> m_picker;
    bool m_dragging = false;  // the message's label is held by the left button
    QFont m_font;
};
