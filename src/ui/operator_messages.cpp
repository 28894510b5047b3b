#include "ui/operator_messages.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
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

void ShowPath(QWidget* parent, const QString& title, const QString& path, const QString& listName) {
    QDialog dialog(parent, Qt::Tool);
    dialog.setObjectName(QStringLiteral("TFormShowPath"));
    dialog.setWindowTitle(QStringLiteral("File Path"));
    auto* list = new QLabel(listName, &dialog);
    list->setObjectName(QStringLiteral("LabelProgramName"));
    QFont bold = list->font();
    bold.setBold(true);
    list->setFont(bold);
    auto* name = new QLabel(title, &dialog);
    name->setObjectName(QStringLiteral("LabelShowFileName"));
    for (QLabel* label : {list, name}) label->setTextFormat(Qt::PlainText);
    auto* edit = new QLineEdit(path, &dialog);
    edit->setObjectName(QStringLiteral("EditShowPath"));
    edit->setReadOnly(true);
    edit->setMinimumWidth(480);
    auto* open = new QPushButton(QStringLiteral("Open Dir"), &dialog);
    open->setObjectName(QStringLiteral("SpeedButtonOpenDir"));
    QObject::connect(open, &QPushButton::clicked, &dialog, [path] {
        QDesktopServices::openUrl(QUrl::fromLocalFile(FolderOfPath(path)));
    });
    auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
    ok->setObjectName(QStringLiteral("ButtonOK"));
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(open);
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(list);
    layout->addWidget(name);
    layout->addWidget(edit);
    layout->addLayout(buttons);
    dialog.adjustSize();
    // Centred on the screen, as a tool window of its own.
    if (const QScreen* screen = dialog.screen()) {
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
    }
    dialog.exec();
}

std::optional<QString> AskNewName(QWidget* parent, const QString& shownName) {
    QInputDialog box(parent);
    box.setObjectName(QStringLiteral("InputBoxRename"));
    box.setWindowTitle(QStringLiteral("Rename"));
    box.setLabelText(QStringLiteral("Enter the new name"));
    box.setTextValue(shownName);
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return box.textValue();
}

QString FolderOfPath(const QString& path) {
    const qsizetype last =
        std::max({path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')),
                  path.lastIndexOf(QLatin1Char(':'))});
    return last < 0 ? QString() : path.left(last + 1);
}
