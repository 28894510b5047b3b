#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

/// The rows of one track view of the library: the title the view shows and, at the same
/// row, the entry behind it (a full path, or a track entry "line^list"), with the
/// operator's selection and current row. The window's list boxes are views of it.

struct TrackRow {
    QString title;
    QString entry;
};

/// A track as the add commands take it: the title shown and the file's path.
struct TrackFile {
    QString title;
    QString path;
};

/// The order of a sorted list box over rows of title and payload: by title without regard
/// to case in the collation of the user's locale, equal titles by their payload. Returns
/// the indices of the rows in that order; titles and payloads are parallel.
std::vector<qsizetype> ListBoxOrder(const QStringList& titles, const QStringList& payloads);
/// Sorts rows of any kind by ListBoxOrder over their titles and payloads.
template <class Row, class TitleOf, class PayloadOf>
void SortByListBoxOrder(QList<Row>& rows, const TitleOf& titleOf, const PayloadOf& payloadOf) {
    QStringList titles;
    QStringList payloads;
    titles.reserve(rows.size());
    payloads.reserve(rows.size());
    for (const Row& row : rows) {
        titles.append(titleOf(row));
        payloads.append(payloadOf(row));
    }
    QList<Row> sorted;
    sorted.reserve(rows.size());
    for (const qsizetype i : ListBoxOrder(titles, payloads)) sorted.append(std::move(rows[i]));
    rows = std::move(sorted);
}
/// Sorts rows by ListBoxOrder, the entry being the payload.
void SortLikeListBox(QList<TrackRow>& rows);

/// A list model of TrackRow. Qt::DisplayRole is the title, EntryRole the entry and
/// SelectedRole (bool, settable) the selection.
class TrackRows : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role { EntryRole = Qt::UserRole + 1, SelectedRole };

    explicit TrackRows(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QHash<int, QByteArray> roleNames() const override;

    /// Everything shown is replaced; no row is selected or current afterwards.
    void Replace(QList<TrackRow> rows);
    int Count() const { return static_cast<int>(m_titles.size()); }
    /// The titles shown, row by row (shared, not copied, by whoever keeps them).
    const QStringList& Titles() const { return m_titles; }
    /// Grows whenever a row's title or entry changes.
    int Revision() const { return m_revision; }
    /// Grows whenever the rows' selection or current row is set by the core itself (new
    /// rows, select all) rather than by the operator's choice.
    int SelectionRevision() const { return m_selectionRevision; }
    /// Empty for a row that is not there.
    QString Title(int row) const;
    QString Entry(int row) const;

    /// -1 when no row is current.
    int CurrentRow() const { return m_current; }
    /// A row that is not there makes none current.
    void SetCurrentRow(int row);
    bool IsSelected(int row) const;
    void SetSelected(int row, bool selected);
    void SelectAll();
    /// The operator's whole selection: exactly these rows (those that are there).
    void SetSelection(const QList<int>& rows);
    /// The selected rows from top to bottom.
    QList<int> SelectedRows() const;

    /// A renamed track: the row keeps its place and selection.
    void SetRow(int row, const QString& title, const QString& entry);

private:
    bool Has(int row) const { return row >= 0 && row < Count(); }

    QStringList m_titles;
    QStringList m_entries;
    std::vector<bool> m_selected;
    int m_current = -1;
    int m_revision = 0;
    int m_selectionRevision = 0;
    // The selected rows as last asked for, kept until the selection changes: a state is
    // read off the rows a few times a second.
    mutable QList<int> m_selectedRows;
    mutable bool m_selectedRowsKnown = true;
};
