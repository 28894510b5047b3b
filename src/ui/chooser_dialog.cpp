#include "ui/chooser_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

ChooserDialog::ChooserDialog(const QString& formName, const QString& listName, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)) {
    setObjectName(formName);
    m_list->setObjectName(listName);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("ButtonOK"));
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("Ακυρο"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("ButtonCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_list, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(320, 360);
}

std::optional<QList<int>> ChooserDialog::Ask(const ChooserState& chooser) {
    setWindowTitle(chooser.caption);
    m_list->clear();
    m_list->addItems(chooser.items);
    m_list->setSelectionMode(chooser.multiSelect ? QAbstractItemView::ExtendedSelection
                                                 : QAbstractItemView::SingleSelection);
    if (exec() != QDialog::Accepted) return std::nullopt;
    QList<int> rows;
    for (const QListWidgetItem* item : m_list->selectedItems()) rows.append(m_list->row(item));
    std::sort(rows.begin(), rows.end());
    return rows;
}

QStringList ChooserDialog::AskNames(const ChooserState& chooser) {
    QStringList names;
    if (const auto rows = Ask(chooser)) {
        for (const int row : *rows) names.append(chooser.items.at(row));
    }
    return names;
}
