#include "library/track_rows.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <QThread>
#include <algorithm>

#include "base/parallel_map.h"

namespace {

// A title's collation key beside its row, so that the sort compares without a detour.
struct KeyedRow {
    QCollatorSortKey key;
    qsizetype row;
};

QCollator ListBoxCollator() {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    return collator;
}

// The titles' keys, built in slices on the machine's cores (a key costs about a
// microsecond, and a search can give a hundred thousand rows); each slice has its own
// collator, which is not to be shared between threads.
std::vector<KeyedRow> TitleKeys(const QStringList& titles) {
    // A collator takes a while to make: one slice a core, and one only for a short list.
    const qsizetype sliceCount = titles.size() < 2000 ? 1 : QThread::idealThreadCount();
    const qsizetype sliceSize = (titles.size() + sliceCount - 1) / sliceCount;
    const auto slices = MapInParallel<std::vector<KeyedRow>>(sliceCount, [&](qsizetype slice) {
        const QCollator collator = ListBoxCollator();
        // Sort keys of the C locale compare the bytes and ignore the case setting, so the
        // titles are folded before they are keyed there.
        const bool keysFoldCase = collator.locale().language() != QLocale::C;
        std::vector<KeyedRow> keyed;
        const qsizetype end = std::min(titles.size(), (slice + 1) * sliceSize);
        for (qsizetype row = slice * sliceSize; row < end; ++row) {
            const QString& title = titles.at(row);
            keyed.push_back({collator.sortKey(keysFoldCase ? title : title.toCaseFolded()), row});
        }
        return keyed;
    });
    std::vector<KeyedRow> keyed;
    keyed.reserve(titles.size());
    for (const auto& slice : slices) keyed.insert(keyed.end(), slice.begin(), slice.end());
    return keyed;
}

}  // namespace

std::vector<qsizetype> ListBoxOrder(const QStringList& titles, const QStringList& payloads) {
    const QCollator collator = ListBoxCollator();
    std::vector<KeyedRow> keyed = TitleKeys(titles);
    // Equal keys are rare, so the payloads are compared only then; the exact texts last,
    // so that the order never depends on the sort.
    std::stable_sort(keyed.begin(), keyed.end(), [&](const KeyedRow& a, const KeyedRow& b) {
        if (const int c = a.key.compare(b.key); c != 0) return c < 0;
        const QString& payloadA = payloads.at(a.row);
        const QString& payloadB = payloads.at(b.row);
        if (const int c = collator.compare(payloadA, payloadB); c != 0) return c < 0;
        if (titles.at(a.row) != titles.at(b.row)) return titles.at(a.row) < titles.at(b.row);
        return payloadA < payloadB;
    });
    std::vector<qsizetype> order;
    order.reserve(keyed.size());
    for (const KeyedRow& k : keyed) order.push_back(k.row);
    return order;
}

void SortLikeListBox(QList<TrackRow>& rows) {
    SortByListBoxOrder(
        rows, [](const TrackRow& row) { return row.title; },
        [](const TrackRow& row) { return row.entry; });
}

TrackRows::TrackRows(QObject* parent) : QAbstractListModel(parent) {}

int TrackRows::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Count(); }

QVariant TrackRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !Has(index.row())) return {};
    switch (role) {
        case Qt::DisplayRole:
            return m_titles.at(index.row());
        case EntryRole:
            return m_entries.at(index.row());
        case SelectedRole:
            return IsSelected(index.row());
        default:
            return {};
    }
}

bool TrackRows::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != SelectedRole || !index.isValid() || !Has(index.row())) return false;
    SetSelected(index.row(), value.toBool());
    return true;
}

QHash<int, QByteArray> TrackRows::roleNames() const {
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(EntryRole, "entry");
    names.insert(SelectedRole, "selected");
    return names;
}

void TrackRows::Replace(QList<TrackRow> rows) {
    beginResetModel();
    m_titles.clear();
    m_entries.clear();
    m_titles.reserve(rows.size());
    m_entries.reserve(rows.size());
    for (TrackRow& row : rows) {
        m_titles.append(std::move(row.title));
        m_entries.append(std::move(row.entry));
    }
    m_selected.assign(m_titles.size(), false);
    m_selectedRows.clear();
    m_selectedRowsKnown = true;
    m_current = -1;
    ++m_revision;
    ++m_selectionRevision;
    endResetModel();
}

QString TrackRows::Title(int row) const { return Has(row) ? m_titles.at(row) : QString(); }

QString TrackRows::Entry(int row) const { return Has(row) ? m_entries.at(row) : QString(); }

void TrackRows::SetCurrentRow(int row) { m_current = Has(row) ? row : -1; }

bool TrackRows::IsSelected(int row) const { return Has(row) && m_selected[row]; }

void TrackRows::SetSelected(int row, bool selected) {
    if (!Has(row) || m_selected[row] == selected) return;
    m_selected[row] = selected;
    m_selectedRowsKnown = false;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed, {SelectedRole});
}

void TrackRows::SelectAll() {
    if (m_titles.isEmpty()) return;
    std::fill(m_selected.begin(), m_selected.end(), true);
    m_selectedRowsKnown = false;
    ++m_selectionRevision;
    Q_EMIT dataChanged(index(0), index(Count() - 1), {SelectedRole});
}

void TrackRows::SetSelection(const QList<int>& rows) {
    std::fill(m_selected.begin(), m_selected.end(), false);
    for (const int row : rows)
        if (Has(row)) m_selected[row] = true;
    m_selectedRowsKnown = false;
    if (!m_titles.isEmpty()) Q_EMIT dataChanged(index(0), index(Count() - 1), {SelectedRole});
}

QList<int> TrackRows::SelectedRows() const {
    if (!m_selectedRowsKnown) {
        m_selectedRows.clear();
        for (int row = 0; row < Count(); ++row)
            if (m_selected[row]) m_selectedRows.append(row);
        m_selectedRowsKnown = true;
    }
    return m_selectedRows;
}

void TrackRows::SetRow(int row, const QString& title, const QString& entry) {
    if (!Has(row)) return;
    m_titles[row] = title;
    m_entries[row] = entry;
    ++m_revision;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole, EntryRole});
}
