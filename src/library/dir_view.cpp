#include "library/dir_view.h"

#include <QDir>
#include <QSet>

namespace {

constexpr QDir::SortFlags kByName = QDir::Name | QDir::IgnoreCase;

QStringList MaskPatterns(int mask) {
    static const QList<QStringList> kPatterns{
        {"*.mp3"}, {"*.wav"}, {"*.cda"}, {"*.wav", "*.mp3", "*.cda"}};
    return kPatterns.value(mask, kPatterns.first());
}

}  // namespace

QStringList DirView::MaskNames() { return {"*.mp3", "*.wav", "*.cda", "all"}; }

DirView::DirView() = default;

bool DirView::FilterComboBox1Change(int index) {
    if (index < 0 || index >= MaskNames().size()) return false;
    m_mask = index;
    return true;
}

void DirView::ShowFiles(QList<TrackRow> files, bool folderChosen) {
    m_rows.Replace(std::move(files));
    if (!folderChosen) return;
    m_rows.SelectAll();
    m_tracksInDir = m_rows.Count();
}

QList<TrackRow> ListDirFiles(const QString& folder, int mask) {
    QList<TrackRow> rows;
    if (folder.isEmpty()) return rows;
    // Masks match without regard to case, as the file list of the system did.
    for (const QString& name : QDir(folder).entryList(MaskPatterns(mask), QDir::Files, kByName))
        rows.append({name, JoinPath(folder, name)});
    return rows;
}

QString JoinPath(const QString& folder, const QString& name) {
    const bool endsInSeparator = folder.endsWith(u'/') || folder.endsWith(u'\\');
    return endsInSeparator ? folder + name : folder + u'/' + name;
}

QList<TrackFile> AddSubfolderTracks(const QString& folder, const QStringList& existingTitles) {
    QSet<QString> taken(existingTitles.begin(), existingTitles.end());
    QList<TrackFile> tracks;
    if (folder.isEmpty()) return tracks;  // no folder chosen, not the current one
    const QDir top(folder);
    for (const QString& sub : top.entryList(QDir::Dirs | QDir::NoDotAndDotDot, kByName)) {
        const QString subPath = JoinPath(folder, sub);
        const QDir::Filters everything =
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
        for (const QString& name : QDir(subPath).entryList(everything, kByName)) {
            if (taken.contains(name)) continue;
            taken.insert(name);
            tracks.append({name, JoinPath(subPath, name)});
        }
    }
    return tracks;
}
