#pragma once

#include <QDialog>

class QAction;
class QTextEdit;
class StationClient;
struct ListsState;

/// The report dialog `TFormClearEntries1` ("Σβησμένα") of "Clear Unused Songs" and "Clear
/// Unused Spots": the dead entries found, one a line, with the menu "Save..." (the report as
/// Rich Text), "Delete" (the same scan again, removing what it finds; only offered when
/// something can be removed) and "Exit".
class ClearEntriesDialog final : public QDialog {
    Q_OBJECT
public:
    ClearEntriesDialog(StationClient& client, QWidget* parent);

    /// Scans in report mode ("songs" or "spots") and, once the core answers, shows the
    /// dialog modally until it is closed. The window goes on meanwhile.
    void Open(const QString& kind);

private:
    void Fill(const ListsState& state);
    void Save();
    void Delete();

    StationClient& m_client;
    QString m_kind = QStringLiteral("songs");  // the scan kind "Delete" runs again
    QTextEdit* m_report;
    QAction* m_delete;
};
