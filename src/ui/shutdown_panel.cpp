#include "ui/shutdown_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "app/station_client.h"
#include "app/window_state.h"

namespace {

QLabel* BoldLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    QFont font = label->font();
    font.setBold(true);
    font.setPointSize(14);
    label->setFont(font);
    return label;
}

}  // namespace

ShutdownPanel::ShutdownPanel(StationClient& client, QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PanelShutdown"));
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Raised);
    setAutoFillBackground(true);
    QPalette red = palette();
    red.setColor(QPalette::Window, Qt::red);
    red.setColor(QPalette::WindowText, Qt::white);
    setPalette(red);

    m_seconds = BoldLabel(QStringLiteral("LabelWinShutDnSec1"), QString(), this);
    auto* cancel = new QPushButton(QStringLiteral("Cancel Shutdown"), this);
    cancel->setObjectName(QStringLiteral("ButtonCancelShutDown2"));
    connect(cancel, &QPushButton::clicked, this,
            [&client] { client.Send(QStringLiteral("cancel-shutdown")); });

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(BoldLabel(QStringLiteral("LabelShutdown4"),
                                QStringLiteral("Windows will shutdown at"), this));
    layout->addWidget(m_seconds);
    layout->addWidget(BoldLabel(QString(), QStringLiteral("Sec"), this));
    layout->addStretch();
    layout->addWidget(cancel);
    Redraw(client.State().window);
}

void ShutdownPanel::Redraw(const WindowState& state) {
    m_seconds->setText(state.shutdownSeconds);
    setVisible(state.shutdownVisible);
}
