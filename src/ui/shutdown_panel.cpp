#include "ui/shutdown_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "housekeeping/auto_shutdown.h"

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

ShutdownPanel::ShutdownPanel(AutoShutdown& shutdown, QWidget* parent)
    : QFrame(parent), m_shutdown(shutdown) {
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
            [this] { m_shutdown.ButtonCancelShutDown2Click(); });
    connect(&m_shutdown, &AutoShutdown::Changed, this, &ShutdownPanel::Redraw);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(BoldLabel(QStringLiteral("LabelShutdown4"),
                                QStringLiteral("Windows will shutdown at"), this));
    layout->addWidget(m_seconds);
    layout->addWidget(BoldLabel(QString(), QStringLiteral("Sec"), this));
    layout->addStretch();
    layout->addWidget(cancel);
    Redraw();
}

void ShutdownPanel::Redraw() {
    m_seconds->setText(m_shutdown.LabelWinShutDnSec1());
    setVisible(m_shutdown.PanelShutdownVisible());
}
