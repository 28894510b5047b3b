#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QTest>
#include <functional>
#include <memory>

class MainWindow;
class QListWidget;
class QLineEdit;
class QTimer;
class Station;

/// The operator's hands in window tests, beside QTest's mouse and keys: a row of a list
/// clicked, an edit box retyped, and answers to the modal dialogs a command opens.
namespace driver {

void ClickRow(QListWidget* list, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
/// A double click on a row: the press that selects it, then the double click.
void DoubleClickRow(QListWidget* list, int row);
/// Replaces an edit box's text by typing, key by key.
void Retype(QLineEdit* edit, const QString& text);
/// Acts on the modal window of this objectName once a command opens it (within a few
/// seconds). Made before the command; it stops waiting when it goes out of scope.
class ModalAnswer {
public:
    ModalAnswer(const QString& objectName, std::function<void(QWidget*)> act);
    ~ModalAnswer();
    ModalAnswer(const ModalAnswer&) = delete;
    ModalAnswer& operator=(const ModalAnswer&) = delete;
    bool Answered() const { return m_answered; }

private:
    QTimer* m_timer;
    bool m_answered = false;
    int m_tries = 0;
};
/// Clicks the button with this text in a dialog.
void ClickButton(QWidget* dialog, const QString& text);

/// Starts the station and shows its window at the smallest screen size it is laid out for.
std::unique_ptr<MainWindow> OpenStudio(Station& station);
/// The window's child of this objectName, failing the test when there is none.
template <class T = QWidget>
T* Find(const QWidget& window, const QString& name) {
    T* w = window.findChild<T*>(name);
    EXPECT_NE(w, nullptr) << name.toStdString();
    return w;
}

}  // namespace driver
