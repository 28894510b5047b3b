#include "ui/clear_entries_dialog.h"

#include <QFileDialog>
#include <QFontMetricsF>
#include <QMenuBar>
#include <QPointer>
#include <QTextEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "app/station_client.h"
#include "app/station_state.h"
#include "ui/operator_messages.h"
#include "ui/shown_answer.h"

ClearEntriesDialog::ClearEntriesDialog(StationClient& client, QWidget* parent)
    : QDialog(parent, Qt::Tool), m_client(client) {
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

void ClearEntriesDialog::Open(const QString& kind) {
    m_kind = kind;
    // The scan reads every list or spot file: the dialog shows when its report comes.
    m_client.Send(QStringLiteral("unused-report"), kind,
                  [dialog = QPointer<ClearEntriesDialog>(this)](const Result& done) {
                      if (!dialog) return;
                      dialog->Fill(dialog->m_client.State().lists);
                      ShowError(dialog, done.message());
                      dialog->exec();
                  });
}

void ClearEntriesDialog::Fill(const ListsState& state) {
    // The paths start in one column, after the widest name of a list or spot file.
    const QFontMetricsF metrics(m_report->font());
    qreal widest = 0;
    for (const QString& line : state.unusedEntries)
        widest = std::max(widest, metrics.horizontalAdvance(line.section(u'\t', 0, 0)));
    m_report->setTabStopDistance(widest + metrics.horizontalAdvance(QStringLiteral("    ")));
    // Paths are shown as they stand: nothing in them is taken for markup.
    m_report->setPlainText(state.unusedEntries.join(u'\n'));
    m_delete->setVisible(state.unusedRemovable);
}

void ClearEntriesDialog::Save() {
    QFileDialog ask(this);
    ask.setObjectName(QStringLiteral("SaveDialog1"));
    ask.setAcceptMode(QFileDialog::AcceptSave);
    ask.setNameFilter(QStringLiteral("*.txt"));
    ask.setDefaultSuffix(QStringLiteral("txt"));
    if (ask.exec() != QDialog::Accepted || ask.selectedFiles().isEmpty()) return;
    m_client.Send(QStringLiteral("unused-save"), ask.selectedFiles().constFirst(),
                  ShownAnswer(this));
}

void ClearEntriesDialog::Delete() {
    m_client.Send(QStringLiteral("unused-clear"), m_kind, ShownAnswer(parentWidget()));
    accept();
}
