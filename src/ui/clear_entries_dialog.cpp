#include "ui/clear_entries_dialog.h"

#include <QFileDialog>
#include <QFontMetricsF>
#include <QMenuBar>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "app/station.h"
#include "base/text_file.h"
#include "ui/operator_messages.h"

ClearEntriesDialog::ClearEntriesDialog(Station& station, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_station(station) {
    setObjectName(QStringLiteral("TFormClearEntries1"));
    setWindowTitle(QStringLiteral("Σβησμένα"));
    resize(544, 351);
    auto* menu = new QMenuBar(this);
    auto add = [menu](const char* name, const QString& caption) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        return action;
    };
    connect(add("Save1", QStringLiteral("Save...")), &QAction::triggered, this,
            &ClearEntriesDialog::Save);
    m_delete = add("Delete1", QStringLiteral("Delete"));
    connect(m_delete, &QAction::triggered, this, &ClearEntriesDialog::Delete);
    connect(add("Exit1", QStringLiteral("Exit")), &QAction::triggered, this, &QDialog::reject);
    m_report = new QTextEdit(this);
    m_report->setObjectName(QStringLiteral("ListBoxClearEntries1"));
    m_report->setReadOnly(true);
    m_report->setLineWrapMode(QTextEdit::NoWrap);
    m_report->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setMenuBar(menu);
    layout->addWidget(m_report);
}

void ClearEntriesDialog::Open(DeadEntryKind kind) {
    m_kind = kind;
    Scan(DeadEntryMode::Report);
    exec();
}

void ClearEntriesDialog::Scan(DeadEntryMode mode) {
    const DeadEntryReport report = m_station.ScanDeadEntries(m_kind, mode);
    // Paths are shown as they stand: nothing in them is taken for markup.
    m_lines = DeadEntryLines(report);
    // The paths start in one column, after the widest name of a list or spot file.
    const QFontMetricsF metrics(m_report->font());
    qreal widest = 0;
    for (const DeadEntry& entry : report.entries)
        widest = std::max(widest, metrics.horizontalAdvance(entry.fileName));
    m_report->setTabStopDistance(widest + metrics.horizontalAdvance(QStringLiteral("    ")));
    m_report->setPlainText(m_lines.join(u'\n'));
    m_delete->setVisible(report.HasRemovable());
    if (!report.problems.isEmpty()) ShowError(this, report.problems.join(u'\n'));
}

void ClearEntriesDialog::Save() {
    QFileDialog ask(this);
    ask.setObjectName(QStringLiteral("SaveDialog1"));
    ask.setAcceptMode(QFileDialog::AcceptSave);
    ask.setNameFilter(QStringLiteral("*.txt"));
    ask.setDefaultSuffix(QStringLiteral("txt"));
    if (ask.exec() != QDialog::Accepted || ask.selectedFiles().isEmpty()) return;
    RunCommand(this, [&] {
        return text_file::WriteLines(ask.selectedFiles().constFirst(), RichTextDocument(m_lines));
    });
}

void ClearEntriesDialog::Delete() {
    Scan(DeadEntryMode::Delete);
    accept();
}
