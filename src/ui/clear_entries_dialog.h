#pragma once

#include <QDialog>

#include "housekeeping/dead_entries.h"

class QAction;
class QTextEdit;
class Station;

/// The report dialog `TFormClearEntries1` ("Σβησμένα") of "Clear Unused Songs" and "Clear
/// Unused Spots": the dead entries found, one a line, with the menu "Save..." (the report as
/// Rich Text), "Delete" (the same scan again, removing what it finds; only offered when
/// something can be removed) and "Exit".
class ClearEntriesDialog final : public QDialog {
    Q_OBJECT
public:
    ClearEntriesDialog(Station& station, QWidget* parent);

    /// Scans in report mode and shows the dialog modally until it is closed.
    void Open(DeadEntryKind kind);

private:
    void Scan(DeadEntryMode mode);
    void Save();
    void Delete();

    Station& m_station;
    DeadEntryKind m_kind = DeadEntryKind::Songs;  // the scan kind "Delete" runs again
    QStringList m_lines;                          // the report as shown
    QTextEdit* m_report;
    QAction* m_delete;
};
