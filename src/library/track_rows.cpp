#include "library/track_rows.h"

#include <QCollator>
#include <QCollatorSortKey>
#include <algorithm>
#include <numeric>

namespace {

// Sort keys of the C locale compare the bytes and ignore the case setting, so the titles
// are folded before they are keyed there.
QCollatorSortKey TitleKey(const QCollator& collator, const QString& title) {
    const bool keysFoldCase = collator.locale().language() != QLocale::C;
    return collator.sortKey(keysFoldCase ? title : title.toCaseFolded());
}

}  // namespace

std::vector<qsizetype> ListBoxOrder(const QStringList& titles, const QStringList& payloads) {
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(titles.size());
    for (const QString& title : titles) keys.push_back(TitleKey(collator, title));

    std::vector<qsizetype> order(titles.size());
    std::iota(order.begin(), order.end(), 0);
    // Equal keys are rare, so the payloads are compared only then; the exact texts last,
    // so that the order never depends on the sort.
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (const int c = keys[a].compare(keys[b]); c != 0) return c < 0;
        if (const int c = collator.compare(payloads[a], payloads[b]); c != 0) return c < 0;
        if (titles[a] != titles[b]) return titles[a] < titles[b];
        return payloads[a] < payloads[b];
    });
    return order;
}

void SortLikeListBox(QList<TrackRow>& rows) {
    QStringList titles;
    QStringList entries;
    titles.reserve(rows.size());
    entries.reserve(rows.size());
    for (const TrackRow& row : rows) {
        titles.append(row.title);
        entries.append(row.entry);
    }
    QList<TrackRow> sorted;
    sorted.reserve(rows.size());
    for (const qsizetype i : ListBoxOrder(titles, entries)) sorted.append(std::move(rows[i]));
    rows = std::move(sorted);
}

TrackRows::TrackRows(QObject* parent) : QAbstractListModel(parent) {}

int TrackRows::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : Count(); }

QVariant TrackRows::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !Has(index.row())) return {};
    switch (role) {
        case Qt::DisplayRole:
            return m_rows.at(index.row()).title;
        case EntryRole:
            return m_rows.at(index.row()).entry;
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
    m_rows = std::move(rows);
    m_selected.assign(m_rows.size(), false);
    m_current = -1;
    endResetModel();
}

QString TrackRows::Title(int row) const { return Has(row) ? m_rows.at(row).title : QString(); }

QString TrackRows::Entry(int row) const { return Has(row) ? m_rows.at(row).entry : QString(); }

void TrackRows::SetCurrentRow(int row) { m_current = Has(row) ? row : -1; }

bool TrackRows::IsSelected(int row) const { return Has(row) && m_selected[row]; }

void TrackRows::SetSelected(int row, bool selected) {
    if (!Has(row) || m_selected[row] == selected) return;
    m_selected[row] = selected;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed, {SelectedRole});
}

void TrackRows::SelectAll() {
    if (m_rows.isEmpty()) return;
    std::fill(m_selected.begin(), m_selected.end(), true);
    Q_EMIT dataChanged(index(0), index(Count() - 1), {SelectedRole});
}

QList<int> TrackRows::SelectedRows() const {
    QList<int> rows;
    for (int row = 0; row < Count(); ++row)
        if (m_selected[row]) rows.append(row);
    return rows;
}

void TrackRows::SetRow(int row, const QString& title, const QString& entry) {
    if (!Has(row)) return;
    m_rows[row] = {title, entry};
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed, {Qt::DisplayRole, EntryRole});
}
