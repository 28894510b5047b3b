#include "playback/played_list.h"

QString PlayedList::PathAt(int row) const {
    return row >= 0 && row < m_paths.size() ? m_paths[row] : QString();
}

void PlayedList::Append(const QString& title, const QString& path) {
    m_titles.append(title);
    m_paths.append(path);
    TopRow = Count() - 1;
    LabelPlayedTracks = Count();
}

void PlayedList::Clear() {
    m_titles.clear();
    m_paths.clear();
    TopRow = 0;
    SelectedRow = -1;
    // The count on the page is not rewritten here: it stays until the next track starts.
}
