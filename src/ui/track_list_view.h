#pragma once

#include <QListView>

class TrackRows;

/// A list box of the library's track rows: a view of the core's rows (no copy), several
/// rows selectable, with the selection and the current row written back to the core as
/// the operator changes them. Double click and the context menu are reported.
class TrackListView final : public QListView {
    Q_OBJECT
public:
    TrackListView(const QString& objectName, TrackRows& rows, QWidget* parent);

Q_SIGNALS:
    void activatedRow();
    void menuAsked(const QPoint& globalPos);

private:
    /// Shows the core's selection and current row (after a command of the core changed them).
    void ShowCoreSelection();
    void SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);

    TrackRows& m_rows;
    bool m_showing = false;
};
