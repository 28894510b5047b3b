#include "ui/operator_messages.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <exception>

bool Confirm(QWidget* parent, const QString& question) {
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), question,
                    QMessageBox::Yes | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("Confirmation"));
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Yes;
}

void ShowError(QWidget* parent, const QString& message) {
    if (message.isEmpty()) return;
    QMessageBox box(QMessageBox::Warning, QApplication::applicationName(), message, QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("ErrorMessage"));
    box.exec();
}

void RunCommand(QWidget* parent, const std::function<Result()>& command) {
    Result result;
    try {
        result = command();
    } catch (const std::exception& e) {
        // Nothing may escape into the event loop; the operator reads what went wrong.
        result = Result::Error(QString::fromLocal8Bit(e.what()));
    }
    ShowError(parent, result.message());
}

void ShowPath(QWidget* parent, const QString& path) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Path"), path, QMessageBox::Ok,
                    parent);
    box.setObjectName(QStringLiteral("PathDialog"));
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.exec();
}

std::optional<QString> AskNewName(QWidget* parent, const QString& shownName) {
    bool ok = false;
    const QString name = QInputDialog::getText(parent, QStringLiteral("Rename"),
                                               QStringLiteral("Enter the new name"),
                                               QLineEdit::Normal, shownName, &ok);
    if (!ok) return std::nullopt;
    return name;
}
