#pragma once

#include <QStringList>
#include <QTabWidget>
#include <array>
#include <functional>

#include "app/library_state.h"

class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTreeView;
class StationClient;
class TrackListView;

/// The library `PageControl1`: "DIR" (drive, folder tree, files), "Lists Alphabetic",
/// "Search" and "Artists". Each page's track rows show the rows the core published; its
/// "Play" button, double click and pop-up menu send the chosen track to the queue, the
/// list being edited, a new name on disk or the path box. The reads behind a page run in
/// the core's workers: a page shows what they gave when it comes.
class LibraryPages final : public QTabWidget {
    Q_OBJECT
public:
    LibraryPages(StationClient& client, QWidget* parent);
    void Redraw(const LibraryState& state);

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
    TrackListView* TrackView(const QString& name, LibraryPage page, QWidget* parent);
    QPushButton* PlayButton(const QString& name, LibraryPage page, QWidget* parent);
    QCheckBox* CdsBox(const QString& name, QWidget* parent);
    QMenu* TrackMenu(const QString& name, LibraryPage page);
    void AddMenuItem(QMenu& menu, const QString& name, const QString& caption,
                     const std::function<void()>& command);
    void OnChoice(QListWidget& box, const std::function<void(int)>& choose);
    void ChooseFolder(const QString& folder);
    void ChooseDrive(int index);
    void Rename(LibraryPage page);
    void ShowTrackPath(LibraryPage page);
    /// Sends a command; its refusal or failure is shown, then the window redraws.
    void Run(const QString& verb, const QString& argument = {});
    /// The same for a command about one page's tracks ("PAGE" or "PAGE REST").
    void RunOnPage(const QString& verb, LibraryPage page, const QString& rest = {});
    /// Tells the operator of lists a read could not read, once for the same ones: a search
    /// runs at every key typed, and the same unreadable list would otherwise stop the typing.
    void ShowProblems(const QStringList& problems);
    void Done();

    StationClient& m_client;
    bool m_drawing = false;
    QStringList m_shownProblems;
    /// "Add all sub-folders" was given: the list being edited shows its end once the
    /// sub-folders' read has landed.
    bool m_addingFromDir = false;
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
