#include "widget_driver.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QTimer>

namespace driver {

namespace {

QPoint Where(QWidget* widget, QPoint at) { return at.x() < 0 ? widget->rect().center() : at; }

void Mouse(QWidget* widget, QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers) {
    const QPointF local(at);
    QMouseEvent event(type, local, widget->mapToGlobal(local), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      modifiers);
    QApplication::sendEvent(widget, &event);
}

}  // namespace

void Click(QWidget* widget, QPoint at) {
    ASSERT_NE(widget, nullptr);
    at = Where(widget, at);
    Mouse(widget, QEvent::MouseButtonPress, at, Qt::NoModifier);
    Mouse(widget, QEvent::MouseButtonRelease, at, Qt::NoModifier);
}

void DoubleClick(QWidget* widget, QPoint at) {
    ASSERT_NE(widget, nullptr);
    at = Where(widget, at);
    Click(widget, at);
    Mouse(widget, QEvent::MouseButtonDblClick, at, Qt::NoModifier);
    Mouse(widget, QEvent::MouseButtonRelease, at, Qt::NoModifier);
}

void ClickRow(QListWidget* list, int row, Qt::KeyboardModifiers modifiers) {
    ASSERT_NE(list, nullptr);
    ASSERT_LT(row, list->count());
    list->scrollToItem(list->item(row));
    const QPoint at = list->visualItemRect(list->item(row)).center();
    Mouse(list->viewport(), QEvent::MouseButtonPress, at, modifiers);
    Mouse(list->viewport(), QEvent::MouseButtonRelease, at, modifiers);
}

void Press(QWidget* widget, int key, Qt::KeyboardModifiers modifiers, const QString& text) {
    ASSERT_NE(widget, nullptr);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

void Retype(QLineEdit* edit, const QString& text) {
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    Press(edit, Qt::Key_A, Qt::ControlModifier);
    Press(edit, Qt::Key_Delete);
    for (const QChar c : text) {
        const int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A')
                                     : c.unicode();  // digits and signs share their codes
        Press(edit, key, Qt::NoModifier, QString(c));
    }
}

ModalAnswer::ModalAnswer(const QString& objectName, std::function<void(QWidget*)> act)
    : m_timer(new QTimer) {
    QObject::connect(m_timer, &QTimer::timeout, [this, objectName, act] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == objectName) {
            m_timer->stop();
            m_answered = true;
            act(modal);
        } else if (++m_tries > 300) {
            m_timer->stop();
            ADD_FAILURE() << "no modal window " << objectName.toStdString();
            if (modal) modal->close();  // never hang the test
        }
    });
    m_timer->start(10);
}

ModalAnswer::~ModalAnswer() { delete m_timer; }

void ClickButton(QWidget* dialog, const QString& text) {
    for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
        if (button->text().remove(QLatin1Char('&')) == text) {
            button->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString() << " in "
                  << dialog->objectName().toStdString();
}

}  // namespace driver
