#include "ui/appearance_view.h"

#include <QAbstractScrollArea>
#include <QAction>
#include <QColorDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

#include "app/station_client.h"
#include "ui/colours.h"
#include "ui/moving_label_panel.h"
#include "ui/paint_picker.h"

namespace {

const char* const kPressedName = "pressedName";

ColourValue StoredColour(const QColor& colour) {
    return ColourFromRgb(colour.red(), colour.green(), colour.blue());
}

}  // namespace

AppearanceView::AppearanceView(StationClient& client, QWidget& window, MovingLabelPanel& messages)
    : QObject(&window),
      m_client(client),
      m_window(window),
      m_messages(messages),
      m_picker(std::make_unique<AppearancePicker>()) {}

AppearanceView::~AppearanceView() = default;

void AppearanceView::AddMenuItems(QMenu& options) {
    const auto add = [this, &options](const char* name, const char* caption, auto handler) {
        QAction* action = options.addAction(QString::fromLatin1(caption));
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
    };
    add("Color1", "Color...", [this] { PickColour(false); });
    add("TextColor1", "Text Color...", [this] { PickColour(true); });
    add("Fonts1", "Fonts...", &AppearanceView::PickFont);
    add("NormalFunction1", "Normal Function", [this] { m_picker->NormalFunction(); });
}

void AppearanceView::WatchControls() {
    for (const QString& name : PaintableControls()) {
        auto* control = m_window.findChild<QWidget*>(name);
        if (!control) continue;
        control->installEventFilter(this);
        // A list's presses land on its viewport.
        if (auto* area = qobject_cast<QAbstractScrollArea*>(control)) {
            area->viewport()->setProperty(kPressedName, name);
            area->viewport()->installEventFilter(this);
        }
    }
}

// The font dialog carries no colour: the text's colour is a choice of its own.
void AppearanceView::PickColour(bool forText) {
    QColorDialog dialog(&m_window);
    dialog.setObjectName(QStringLiteral("ColorDialog1"));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    dialog.setCurrentColor(QtColour(m_picker->Colour()));
    if (dialog.exec() != QDialog::Accepted) return;
    const ColourValue colour = StoredColour(dialog.currentColor());
    forText ? m_picker->TextColourConfirmed(colour) : m_picker->ColourConfirmed(colour);
}

void AppearanceView::PickFont() {
    QFontDialog dialog(m_font, &m_window);
    dialog.setObjectName(QStringLiteral("FontDialog1"));
    dialog.setOption(QFontDialog::DontUseNativeDialog);
    if (dialog.exec() == QDialog::Accepted) {
        m_font = dialog.currentFont();
        m_picker->FontConfirmed();
    }
}

void AppearanceView::Paint(const QString& pressed) {
    const PaintTargets targets = m_picker->Press(pressed);
    const QString colour = QString::number(m_picker->Colour());
    for (const QString& name : targets.colour) {
        m_client.Send(QStringLiteral("colour"), name + QStringLiteral(" background ") + colour);
        if (auto* w = m_window.findChild<QWidget*>(name)) {
            PaintComponent(w, {m_picker->Colour(), std::nullopt});
        }
    }
    for (const QString& name : targets.text) {
        m_client.Send(QStringLiteral("colour"), name + QStringLiteral(" font ") + colour);
        if (auto* w = m_window.findChild<QWidget*>(name)) {
            PaintComponent(w, {std::nullopt, m_picker->Colour()});
        }
    }
    for (const QString& name : targets.font) {
        if (auto* w = m_window.findChild<QWidget*>(name)) w->setFont(m_font);
    }
    if (targets.font.contains(QStringLiteral("LabelMessages"))) {
        m_messages.SetText({});  // sized again to the new font below
        m_messages.SetText(m_client.State().options.ownerMessage);
        Q_EMIT messageChanged();
    }
}

bool AppearanceView::eventFilter(QObject* watched, QEvent* event) {
    const QString name = watched->property(kPressedName).isValid()
                             ? watched->property(kPressedName).toString()
                             : watched->objectName();
    const bool message =
        name == QLatin1String("PanelMessages") || name == QLatin1String("LabelMessages");
    if (event->type() == QEvent::MouseButtonPress && m_picker->Mode() != PickMode::Normal) {
        Paint(name);
        return message;
    }
    if (message) return MessageMouse(event);
    return false;
}

bool AppearanceView::MessageMouse(QEvent* event) {
    const auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (!mouse) return false;
    const QString x = QString::number(qRound(mouse->globalPosition().x()));
    switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (m_picker->PressOnMessage(mouse->button() == Qt::RightButton) ==
                MessagePress::EditText) {
                EditMessage();
            } else {
                m_dragging = true;
                m_client.Send(QStringLiteral("message-drag-start"), x);
            }
            return true;
        case QEvent::MouseMove:
            if (!m_dragging) return false;
            // The label follows from the state the move publishes.
            m_client.Send(QStringLiteral("message-drag-move"), x);
            return true;
        case QEvent::MouseButtonRelease:
            m_dragging = false;
            m_client.Send(QStringLiteral("message-drag-end"));
            return true;
        default:
            return false;
    }
}

void AppearanceView::EditMessage() {
    QInputDialog box(&m_window);
    box.setObjectName(QStringLiteral("InputBoxMessage"));
    box.setWindowTitle(QStringLiteral("Your Message"));
    box.setLabelText(QStringLiteral("Enter message"));
    box.setTextValue(m_client.State().options.ownerMessage);
    if (box.exec() != QDialog::Accepted) return;
    const QString message = box.textValue();
    m_client.Send(QStringLiteral("owner-message"), message);
    m_messages.SetText(message);
    Q_EMIT messageChanged();
}
