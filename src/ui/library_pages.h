#pragma once

#include <QStringList>
#include <QTabWidget>

#include "library/library.h"

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTreeView;
class Station;
class TrackListView;

/// The library `PageControl1`: "DIR" (drive, folder tree, files), "Lists Alphabetic",
/// "Search" and "Artists". Each page's track rows are a view of the core's rows; its
/// "Play" button, double click and pop-up menu send the chosen track to the queue, the
/// list being edited, a new name on disk or the path box.
class LibraryPages final : public QTabWidget {
    Q_OBJECT
public:
    LibraryPages(Station& station, QWidget* parent);
    void Redraw();
    /// The page shown, as the core names it.
    Library::Page ShownPage() const;

Q_SIGNALS:
    /// The operator acted here: the whole window redraws.
    void changed();
    /// Tracks were added to the list being edited: it shows its last entry at the top.
    void addedToEditor();

private:
    QWidget* BuildDirPage();
    QWidget* BuildAlphabeticPage();
    QWidget* BuildSearchPage();
    QWidget* BuildArtistsPage();
    TrackListView* TrackView(const QString& name, Library::Page page, QWidget* parent);
    QPushButton* PlayButton(const QString& name, Library::Page page, QWidget* parent);
    QCheckBox* CdsBox(const QString& name, QWidget* parent);
    QMenu* TrackMenu(const QString& name, Library::Page page);
    void AddMenuItem(QMenu& menu, const QString& name, const QString& caption,
                     const std::function<void()>& command);
    void OnChoice(QListWidget& box, const std::function<void(int)>& choose);
    void ChooseFolder(const QString& folder);
    void ChooseDrive(int index);
    void Rename(Library::Page page);
    void ShowTrackPath(Library::Page page);
    /// Runs a command that reads lists and tells the operator of any it could not read.
    void RunReading(const std::function<QStringList()>& command);
    void Done();

    Station& m_station;
    bool m_drawing = false;
    QStringList m_shownProblems;
    // DIR
    QComboBox* m_drives = nullptr;
    QTreeView* m_folders = nullptr;
    QFileSystemModel* m_folderModel = nullptr;
    QComboBox* m_mask = nullptr;
    QLabel* m_tracksInDir = nullptr;
    // Lists Alphabetic
    QListWidget* m_listNames = nullptr;
    QStringList m_shownListNames;
    QCheckBox* m_cdsAlphabetic = nullptr;
    QLabel* m_listsCount = nullptr;
    QLabel* m_tracksInFile = nullptr;
    // Search
    QComboBox* m_search1 = nullptr;
    QLineEdit* m_search2 = nullptr;
    QCheckBox* m_cdsSearch = nullptr;
    QLabel* m_label21 = nullptr;
    QLabel* m_tracksInSearch = nullptr;
    QLabel* m_listThatContains = nullptr;
    QStringList m_shownFavourites;
    // Artists
    QListWidget* m_artists = nullptr;
    QStringList m_shownArtists;
    QCheckBox* m_cdsArtists = nullptr;
    QLabel* m_artistsCount = nullptr;
    QLabel* m_artistTracks = nullptr;
    QLabel* m_progrThatContainsArtist = nullptr;
    std::array<TrackListView*, 4> m_views{};
};
