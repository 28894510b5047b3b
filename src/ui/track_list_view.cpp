#include "ui/track_list_view.h"

#include <QContextMenuEvent>

#include "library/track_rows.h"

TrackListView::TrackListView(const QString& objectName, TrackRows& rows, QWidget* parent)
    : QListView(parent), m_rows(rows) {
    setObjectName(objectName);
    setModel(&rows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);  // long lists lay out without measuring every row
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { Q_EMIT menuAsked(viewport()->mapToGlobal(pos)); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { Q_EMIT activatedRow(); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TrackListView::SelectionChanged);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!m_showing) m_rows.SetCurrentRow(current.isValid() ? current.row() : -1);
            });
    connect(&rows, &QAbstractItemModel::modelReset, this, &TrackListView::ShowCoreSelection);
    // A command of the core selected rows (a folder chosen selects all its files).
    connect(&rows, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                if (!m_showing && roles.contains(TrackRows::SelectedRole)) ShowCoreSelection();
            });
}

void TrackListView::SelectionChanged(const QItemSelection& selected,
                                     const QItemSelection& deselected) {
    if (m_showing) return;
    m_showing = true;  // the core hears of the operator's choice; nothing to show back
    for (const QItemSelectionRange& range : deselected)
        for (int row = range.top(); row <= range.bottom(); ++row) m_rows.SetSelected(row, false);
    for (const QItemSelectionRange& range : selected)
        for (int row = range.top(); row <= range.bottom(); ++row) m_rows.SetSelected(row, true);
    m_showing = false;
}

void TrackListView::ShowCoreSelection() {
    m_showing = true;
    // One range for each run of neighbouring rows: a whole folder is one range.
    QItemSelection selection;
    const QList<int> rows = m_rows.SelectedRows();
    for (qsizetype first = 0; first < rows.size();) {
        qsizetype last = first;
        while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1) ++last;
        selection.append(QItemSelectionRange(m_rows.index(rows[first]), m_rows.index(rows[last])));
        first = last + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    const QModelIndex current = m_rows.index(m_rows.CurrentRow());
    selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    m_showing = false;
}
