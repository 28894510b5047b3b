#include "ui/captions.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

namespace {

// Buttons, menus and tabs take "&&" for one "&".
QString Literal(const QString& text) {
    QString literal = text;
    return literal.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

bool SetTabText(QWidget* page, const QString& text) {
    for (QWidget* w = page->parentWidget(); w; w = w->parentWidget()) {
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            const int index = tabs->indexOf(page);
            if (index < 0) return false;
            tabs->setTabText(index, Literal(text));
            return true;
        }
    }
    return false;
}

void SetCaption(QWidget& window, const ShownCaption& caption) {
    if (auto* menu = window.findChild<QMenu*>(caption.component)) {
        menu->setTitle(Literal(caption.text));
    } else if (auto* action = window.findChild<QAction*>(caption.component)) {
        action->setText(Literal(caption.text));
    } else if (auto* button = window.findChild<QAbstractButton*>(caption.component)) {
        button->setText(Literal(caption.text));
    } else if (auto* label = window.findChild<QLabel*>(caption.component)) {
        label->setTextFormat(Qt::PlainText);
        label->setText(caption.text);
    } else if (auto* page = window.findChild<QWidget*>(caption.component)) {
        SetTabText(page, caption.text);
    }
}

}  // namespace

void ApplyCaptions(QWidget& window, const QList<ShownCaption>& captions) {
    for (const ShownCaption& caption : captions) SetCaption(window, caption);
}
