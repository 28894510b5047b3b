#include "ui/track_list_view.h"

#include <QAbstractListModel>
#include <algorithm>

/// The titles of a view's rows, as the core published them (shared, not copied).
class TitleRows final : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_titles.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !index.isValid() || index.row() >= m_titles.size())
            return {};
        return m_titles.at(index.row());
    }
    /// New rows; a rename keeps the rows in place (and the view where it was scrolled).
    void Show(const QStringList& titles, bool sameRows) {
        if (sameRows && titles.size() == m_titles.size() && !titles.isEmpty()) {
            m_titles = titles;
            Q_EMIT dataChanged(index(0), index(rowCount() - 1), {Qt::DisplayRole});
            return;
        }
        beginResetModel();
        m_titles = titles;
        endResetModel();
    }

private:
    QStringList m_titles;
};

TrackListView::TrackListView(const QString& objectName, QWidget* parent)
    : QListView(parent), m_titles(new TitleRows(this)) {
    setObjectName(objectName);
    setModel(m_titles);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setUniformItemSizes(true);  // long lists lay out without measuring every row
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { Q_EMIT menuAsked(viewport()->mapToGlobal(pos)); });
    connect(this, &QAbstractItemView::doubleClicked, this, [this] { Q_EMIT activatedRow(); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (!m_showing) ReportSelection();
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (!m_showing) Q_EMIT currentChosen(current.isValid() ? current.row() : -1);
            });
}

void TrackListView::Redraw(const LibraryTrackView& view) {
    const bool rowsChanged = view.revision != m_revision;
    const bool selectionSet = view.selectionRevision != m_selectionRevision;
    if (!rowsChanged && !selectionSet) return;
    m_showing = true;
    // New rows come with a selection of their own; a renamed row keeps its place.
    if (rowsChanged) m_titles->Show(view.titles, !selectionSet);
    m_revision = view.revision;
    m_selectionRevision = view.selectionRevision;
    ShowCoreSelection(view);
    m_showing = false;
}

void TrackListView::ShowCoreSelection(const LibraryTrackView& view) {
    // One range for each run of neighbouring rows: a whole folder is one range.
    QItemSelection selection;
    const QList<int>& rows = view.selected;
    for (qsizetype first = 0; first < rows.size();) {
        qsizetype last = first;
        while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1) ++last;
        selection.append(
            QItemSelectionRange(m_titles->index(rows[first]), m_titles->index(rows[last])));
        first = last + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    selectionModel()->setCurrentIndex(m_titles->index(view.current), QItemSelectionModel::NoUpdate);
}

void TrackListView::ReportSelection() {
    QList<int> rows;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row) rows.append(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QStringList runs;
    for (qsizetype first = 0; first < rows.size();) {
        qsizetype last = first;
        while (last + 1 < rows.size() && rows[last + 1] == rows[last] + 1) ++last;
        runs << (first == last ? QString::number(rows[first] + 1)
                               : QStringLiteral("%1-%2").arg(rows[first] + 1).arg(rows[last] + 1));
        first = last + 1;
    }
    Q_EMIT selectionChosen(runs.join(u' '));
}
