#pragma once

#include <QString>
#include <QStringList>

/// The tracks started since the list was last cleared, oldest first: the visible titles
/// (ListBoxPrevPlayed1) and, at the same index, the full paths (ListBoxPrevPaths1).
class PlayedList {
public:
    const QStringList& Titles() const { return m_titles; }
    const QStringList& Paths() const { return m_paths; }
    int Count() const { return int(m_titles.size()); }
    /// The path of row i, or "" when there is no such row.
    QString PathAt(int row) const;

    /// Appends a row, scrolls it to the top and writes the count label.
    void Append(const QString& title, const QString& path);
    /// Empties both lists; LabelPlayedTracks keeps its number until the next Append.
    void Clear();

    /// LabelPlayedTracks: the row count as last written, at a track's start.
    int LabelPlayedTracks = 0;
    /// The row shown at the top of ListBoxPrevPlayed1.
    int TopRow = 0;
    /// The operator's current row, -1 for none.
    int SelectedRow = -1;

private:
    QStringList m_titles;
    QStringList m_paths;
};
