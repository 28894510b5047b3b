#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include "library/track_rows.h"

/// The DIR page's files: the chosen folder, the mask of `FilterComboBox1` and the files
/// of the folder that match it (`FileListBox1`), each row the file's name with its path as
/// the entry. Paths use "/".
class DirView {
public:
    /// The rows of `FilterComboBox1`, "*.mp3" first; "all" stands for "*.wav;*.mp3;*.cda".
    static QStringList MaskNames();

    DirView();

    const QString& Folder() const { return m_folder; }
    int MaskIndex() const { return m_mask; }
    TrackRows& Rows() { return m_rows; }
    const TrackRows& Rows() const { return m_rows; }
    /// `LabelTracksInDir`: the number of files when the folder was chosen.
    int TracksInDir() const { return m_tracksInDir; }

    /// A folder chosen in the tree; its files come with ShowFiles.
    void DirectoryOutline1Change(const QString& folder) { m_folder = folder; }
    /// Another mask; false (and nothing changes) for one that is not there. The files
    /// come with ShowFiles.
    bool FilterComboBox1Change(int index);
    /// The chosen folder's files under the mask (ListDirFiles). After a folder was chosen
    /// every file is selected and counted; after another mask none is and the count stays.
    void ShowFiles(QList<TrackRow> files, bool folderChosen);

private:
    QString m_folder;
    int m_mask = 0;
    TrackRows m_rows;
    int m_tracksInDir = 0;
};

/// The files of folder that match the mask of that index, by name without case, each row
/// the file's name with its path. Reads the folder: none for an empty folder name.
QList<TrackRow> ListDirFiles(const QString& folder, int mask);

/// The folder joined with a name; a folder that ends in a separator gets none added.
QString JoinPath(const QString& folder, const QString& name);

/// `AddSubfolderTracks`: every entry directly inside each non-hidden sub-folder of folder
/// (hidden entries included, files of folder itself not), sub-folders in name order. An
/// entry whose title is among existingTitles, or was met in an earlier sub-folder, is
/// left out. The caller appends what it gets to the list being edited.
QList<TrackFile> AddSubfolderTracks(const QString& folder, const QStringList& existingTitles);
