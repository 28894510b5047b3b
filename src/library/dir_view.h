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

    /// A folder chosen in the tree: its files are shown, every one selected, and counted.
    void DirectoryOutline1Change(const QString& folder);
    /// Another mask: the files are listed again, none selected, and the count stays.
    void FilterComboBox1Change(int index);

private:
    void ListFiles();

    QString m_folder;
    int m_mask = 0;
    TrackRows m_rows;
    int m_tracksInDir = 0;
};

/// The folder joined with a name; a folder that ends in a separator gets none added.
QString JoinPath(const QString& folder, const QString& name);

/// `AddSubfolderTracks`: every entry directly inside each non-hidden sub-folder of folder
/// (hidden entries included, files of folder itself not), sub-folders in name order. An
/// entry whose title is among existingTitles, or was met in an earlier sub-folder, is
/// left out. The caller appends what it gets to the list being edited.
QList<TrackFile> AddSubfolderTracks(const QString& folder, const QStringList& existingTitles);
