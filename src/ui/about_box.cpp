#include "ui/about_box.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

AboutBox::AboutBox(const QString& title, const QString& versionNumber, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("TAboutBox"));
    setWindowTitle(QStringLiteral("About"));
    auto* name = new QLabel(title, this);
    name->setObjectName(QStringLiteral("ProductName"));
    QFont big = name->font();
    big.setPointSize(16);
    big.setBold(true);
    name->setFont(big);
    auto* version = new QLabel(QStringLiteral("Version ") + versionNumber, this);
    version->setObjectName(QStringLiteral("Version"));
    auto* comment = new QLabel(QStringLiteral("Radio automation for a small station"), this);
    comment->setObjectName(QStringLiteral("Comments"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(name);
    layout->addWidget(version);
    layout->addWidget(comment);
    layout->addWidget(buttons);
}
