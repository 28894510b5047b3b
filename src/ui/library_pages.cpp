#include "ui/library_pages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QStorageInfo>
#include <QTreeView>
#include <QVBoxLayout>

#include "app/station_client.h"
#include "ui/loudness_tips.h"
#include "ui/operator_messages.h"
#include "ui/track_list_view.h"

namespace {

using Page = LibraryPage;

// The page's number in the commands, from 1.
QString PageNumber(Page page) { return QString::number(static_cast<int>(page) + 1); }

QLabel* NamedLabel(const QString& name, QWidget* parent, const QString& text = QString()) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A list box of names whose rows change only when the core's names do.
void ShowNames(QListWidget& box, QStringList& shown, const QStringList& names) {
    if (names == shown) return;
    shown = names;
    box.clear();
    box.addItems(names);
}

// The word after a count of tracks.
QLabel* Tracks(QWidget* parent, const char* name) {
    auto* label = new QLabel(QStringLiteral("tracks"), parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

QHBoxLayout* Row(std::initializer_list<QWidget*> widgets, bool stretchFirst = false) {
    auto* row = new QHBoxLayout;
    bool first = true;
    for (QWidget* w : widgets) {
        row->addWidget(w, first && stretchFirst ? 1 : 0);
        first = false;
    }
    if (!stretchFirst) row->addStretch();
    return row;
}

}  // namespace

LibraryPages::LibraryPages(StationClient& client, QWidget* parent)
    : QTabWidget(parent), m_client(client) {
    setObjectName(QStringLiteral("PageControl1"));
    addTab(BuildDirPage(), QStringLiteral("DIR"));
    addTab(BuildAlphabeticPage(), QStringLiteral("Lists Alphabetic"));
    addTab(BuildSearchPage(), QStringLiteral("Search"));
    addTab(BuildArtistsPage(), QStringLiteral("Artists"));
    setCurrentIndex(static_cast<int>(Page::ListsAlphabetic));
    connect(this, &QTabWidget::currentChanged, this,
            [this](int index) { Run(QStringLiteral("library-page"), QString::number(index + 1)); });
    // A read of the workers came in: the page shows it without waiting for the next redraw.
    connect(&m_client, &StationClient::StateChanged, this,
            [this] { Redraw(m_client.State().library); });
}

TrackListView* LibraryPages::TrackView(const QString& name, Page page, QWidget* parent) {
    auto* view = new TrackListView(name, parent);
    m_views[static_cast<int>(page)] = view;
    new LoudnessTips(*view, m_client, [this, page](int row) {
        // A row gone meanwhile is simply no answer: nothing for the operator to read.
        m_client.Send(QStringLiteral("library-loudness"),
                      PageNumber(page) + u' ' + QString::number(row + 1));
    });
    connect(view, &TrackListView::activatedRow, this,
            [this, page] { RunOnPage(QStringLiteral("library-play"), page); });
    connect(view, &TrackListView::selectionChosen, this, [this, page](const QString& runs) {
        RunOnPage(QStringLiteral("library-select"), page, runs);
    });
    connect(view, &TrackListView::currentChosen, this, [this, page](int row) {
        RunOnPage(QStringLiteral("library-current"), page, QString::number(row + 1));
    });
    return view;
}

QPushButton* LibraryPages::PlayButton(const QString& name, Page page, QWidget* parent) {
    auto* play = new QPushButton(QStringLiteral("Play"), parent);
    play->setObjectName(name);
    play->setToolTip(QStringLiteral("Play the selected track above"));
    connect(play, &QPushButton::clicked, this,
            [this, page] { RunOnPage(QStringLiteral("library-play"), page); });
    return play;
}

QCheckBox* LibraryPages::CdsBox(const QString& name, QWidget* parent) {
    auto* box = new QCheckBox(QStringLiteral("+CDs"), parent);
    box->setObjectName(name);
    box->setToolTip(QStringLiteral("Show lists starting with the prefix CD_"));
    return box;
}

void LibraryPages::AddMenuItem(QMenu& menu, const QString& name, const QString& caption,
                               const std::function<void()>& command) {
    QAction* item = menu.addAction(caption);
    item->setObjectName(name);
    if (!command) {
        item->setEnabled(false);  // an item of the menu that has no command
        return;
    }
    connect(item, &QAction::triggered, this, command);
}

// The pop-up menu of a page's track rows; every page has its own set of items.
QMenu* LibraryPages::TrackMenu(const QString& name, Page page) {
    auto* menu = new QMenu(this);
    menu->setObjectName(name);
    const auto onPage = [this, page](const char* verb) {
        return [this, page, verb] { RunOnPage(QLatin1String(verb), page); };
    };
    const auto insert = onPage("library-insert");
    const auto addToProgram = onPage("library-add-to-program");
    const auto rename = [this, page] { Rename(page); };
    const std::function<void()> none;
    static const char* const kInsertNames[] = {"AddFirstToPlaylist2", "AddFirstToPlaylist1",
                                               "AddFirstToPlaylist4", "AddFirstToPlaylist5"};
    AddMenuItem(*menu, QLatin1String(kInsertNames[static_cast<int>(page)]),
                QStringLiteral("Insert To Playlist"), insert);
    switch (page) {
        case Page::Dir:
            AddMenuItem(*menu, QStringLiteral("AddToPlayList1Dir"), QStringLiteral("AddToPlayList"),
                        none);
            AddMenuItem(*menu, QStringLiteral("addFromDirToProgram"),
                        QStringLiteral("add to Program"), addToProgram);
            AddMenuItem(*menu, QStringLiteral("Rename1"), QStringLiteral("Rename"), rename);
            break;
        case Page::ListsAlphabetic:
            AddMenuItem(*menu, QStringLiteral("AddToPlayList2"), QStringLiteral("AddToPlayList"),
                        onPage("library-add-to-playlist"));
            AddMenuItem(*menu, QStringLiteral("AddToProgram3"), QStringLiteral("AddToProgram"),
                        addToProgram);
            AddMenuItem(*menu, QStringLiteral("SendAsSpot1"), QStringLiteral("SendAsSpot"),
                        onPage("library-send-as-spot"));
            AddMenuItem(*menu, QStringLiteral("SendAsSpotWithFade1"),
                        QStringLiteral("SendAsSpotWithFade"), none);
            AddMenuItem(*menu, QStringLiteral("Rename3"), QStringLiteral("Rename"), rename);
            break;
        case Page::Search:
            AddMenuItem(*menu, QStringLiteral("AddToPlaylist3"), QStringLiteral("AddToPlaylist"),
                        onPage("library-add-to-playlist"));
            AddMenuItem(*menu, QStringLiteral("AddFromSearchToProgram1"),
                        QStringLiteral("AddToProgram"), addToProgram);
            AddMenuItem(*menu, QStringLiteral("RenameFromSearch"), QStringLiteral("Rename"),
                        rename);
            break;
        case Page::Artists:
            AddMenuItem(*menu, QStringLiteral("AddFromArtistToProgr1"),
                        QStringLiteral("AddToProgram"), addToProgram);
            AddMenuItem(*menu, QStringLiteral("RenameFromArtist"), QStringLiteral("Rename..."),
                        rename);
            break;
    }
    AddMenuItem(*menu, name + QStringLiteral("ShowPath"), QStringLiteral("Show Path"),
                [this, page] { ShowTrackPath(page); });
    connect(m_views[static_cast<int>(page)], &TrackListView::menuAsked, menu,
            [menu](const QPoint& at) { menu->popup(at); });
    return menu;
}

QWidget* LibraryPages::BuildDirPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSheetDir"));
    m_drives = new QComboBox(page);
    m_drives->setObjectName(QStringLiteral("DriveComboBox1"));
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady()) m_drives->addItem(volume.rootPath());
    m_folderModel = new QFileSystemModel(page);
    m_folderModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_folderModel->setRootPath(QString());
    m_folders = new QTreeView(page);
    m_folders->setObjectName(QStringLiteral("DirectoryOutline1"));
    m_folders->setModel(m_folderModel);
    m_folders->setHeaderHidden(true);
    for (int column = 1; column < m_folderModel->columnCount(); ++column)
        m_folders->hideColumn(column);
    const auto choose = [this](const QModelIndex& index) {
        if (index.isValid()) ChooseFolder(m_folderModel->filePath(index));
    };
    connect(m_folders->selectionModel(), &QItemSelectionModel::currentChanged, this, choose);
    connect(m_folders, &QTreeView::doubleClicked, this, choose);
    connect(m_drives, &QComboBox::activated, this, &LibraryPages::ChooseDrive);

    TrackListView* files = TrackView(QStringLiteral("FileListBox1"), Page::Dir, page);
    m_mask = new QComboBox(page);
    m_mask->setObjectName(QStringLiteral("FilterComboBox1"));
    connect(m_mask, &QComboBox::activated, this,
            [this](int index) { Run(QStringLiteral("library-mask"), QString::number(index + 1)); });
    m_tracksInDir = NamedLabel(QStringLiteral("LabelTracksInDir"), page);
    auto* addAll = new QPushButton(QStringLiteral("Add all sub-folders"), page);
    addAll->setObjectName(QStringLiteral("BitBtnAddFromDirAllToProg"));
    addAll->setToolTip(
        QStringLiteral("Add the tracks of every sub-folder to the list being edited"));
    connect(addAll, &QPushButton::clicked, this, [this] {
        m_client.Send(QStringLiteral("library-add-from-dir"), {}, [this](const Result& done) {
            ShowError(this, done.message());
            m_addingFromDir = done.ok();
            Redraw(m_client.State().library);
        });
    });
    TrackMenu(QStringLiteral("PopupMenuAdd1"), Page::Dir);

    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_drives, 0, 0);
    layout->addWidget(m_folders, 1, 0);
    layout->addLayout(Row({addAll}), 2, 0);
    layout->addLayout(Row({m_mask, m_tracksInDir, Tracks(page, "Label14")}), 0, 1);
    layout->addWidget(files, 1, 1);
    layout->addLayout(Row({PlayButton(QStringLiteral("BitBtnPlayFile1"), Page::Dir, page)}), 2, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 1);
    ChooseDrive(0);
    return page;
}

void LibraryPages::ChooseDrive(int index) {
    const QString root = m_drives->itemText(index);
    if (root.isEmpty()) return;
    m_folders->setRootIndex(m_folderModel->index(root));
    ChooseFolder(root);
}

void LibraryPages::ChooseFolder(const QString& folder) {
    Run(QStringLiteral("library-folder"), folder);
}

// A name is chosen by a click, the chosen one too (its list may have changed), or by
// moving to it with the keys; a press of the mouse waits for its click.
void LibraryPages::OnChoice(QListWidget& box, const std::function<void(int)>& choose) {
    connect(&box, &QListWidget::itemClicked, this,
            [&box, choose](QListWidgetItem* item) { choose(box.row(item)); });
    connect(&box, &QListWidget::currentRowChanged, this, [this, choose](int row) {
        if (!m_drawing && row >= 0 && QApplication::mouseButtons() == Qt::NoButton) choose(row);
    });
}

QWidget* LibraryPages::BuildAlphabeticPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSheetFile"));
    m_listNames = new QListWidget(page);
    m_listNames->setObjectName(QStringLiteral("ListBoxListsForFile"));
    const auto showList = [this](int row) {
        Run(QStringLiteral("library-list"), QString::number(row + 1));
    };
    OnChoice(*m_listNames, showList);
    m_cdsAlphabetic = CdsBox(QStringLiteral("CheckBoxIncludeCDsAlphabetic"), page);
    connect(m_cdsAlphabetic, &QCheckBox::clicked, this, [this](bool checked) {
        Run(QStringLiteral("library-lists-cds"),
            checked ? QStringLiteral("on") : QStringLiteral("off"));
    });
    m_listsCount = NamedLabel(QStringLiteral("LabelListsAlphabetCount"), page);
    TrackListView* tracks =
        TrackView(QStringLiteral("ListBoxFileProgr1"), Page::ListsAlphabetic, page);
    m_tracksInFile = NamedLabel(QStringLiteral("LabelTracksInFile"), page);
    TrackMenu(QStringLiteral("PopupMenuForProgs1"), Page::ListsAlphabetic);

    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_listNames, 0, 0);
    layout->addLayout(Row({m_cdsAlphabetic, m_listsCount}), 1, 0);
    layout->addWidget(tracks, 0, 1);
    layout->addLayout(
        Row({PlayButton(QStringLiteral("BitBtnPlayList1"), Page::ListsAlphabetic, page),
             m_tracksInFile, Tracks(page, "Label16")}),
        1, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 2);
    return page;
}

QWidget* LibraryPages::BuildSearchPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSheetSearch"));
    m_search1 = new QComboBox(page);
    m_search1->setObjectName(QStringLiteral("EditSearch1"));
    m_search1->setEditable(true);
    m_search1->setInsertPolicy(QComboBox::NoInsert);  // "+" keeps the favourites
    m_search1->setMaxVisibleItems(15);
    m_search1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The box keeps what the operator types: while it has the focus a state never writes
    // it back, so an older one still on its way cannot take a character away.
    connect(m_search1, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!m_drawing) Run(QStringLiteral("library-search"), text);
    });
    auto* add = new QPushButton(QStringLiteral("+"), page);
    add->setObjectName(QStringLiteral("SpeedButtonAdd"));
    add->setToolTip(QStringLiteral("Keep the search text in the list above"));
    add->setFixedWidth(28);
    connect(add, &QPushButton::clicked, this, [this] { Run(QStringLiteral("library-favourite")); });
    m_search2 = new QLineEdit(page);
    m_search2->setObjectName(QStringLiteral("EditSearch2"));
    m_search2->setPlaceholderText(QStringLiteral("and"));
    connect(m_search2, &QLineEdit::textEdited, this,
            [this](const QString& text) { Run(QStringLiteral("library-search-and"), text); });
    m_cdsSearch = CdsBox(QStringLiteral("CheckBoxSearchCDs"), page);
    connect(m_cdsSearch, &QCheckBox::clicked, this, [this](bool checked) {
        Run(QStringLiteral("library-search-cds"),
            checked ? QStringLiteral("on") : QStringLiteral("off"));
    });
    m_label21 = NamedLabel(QStringLiteral("Label21"), page);
    TrackListView* results = TrackView(QStringLiteral("ListBoxListAll1"), Page::Search, page);
    m_tracksInSearch = NamedLabel(QStringLiteral("LabelTracksInSearch"), page);
    m_listThatContains = NamedLabel(QStringLiteral("LabelListThatContains"), page);
    TrackMenu(QStringLiteral("PopupMenuSearchListBox1"), Page::Search);

    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(Row({m_search1, add, m_search2, m_cdsSearch}, true));
    layout->addLayout(Row({m_label21}));
    layout->addWidget(results, 1);
    layout->addLayout(Row({PlayButton(QStringLiteral("BitBtnPlaySearch1"), Page::Search, page),
                           m_tracksInSearch, Tracks(page, "Label18"), m_listThatContains}));
    return page;
}

QWidget* LibraryPages::BuildArtistsPage() {
    auto* page = new QWidget(this);
    page->setObjectName(QStringLiteral("TabSheetArtist"));
    m_artists = new QListWidget(page);
    m_artists->setObjectName(QStringLiteral("ListBoxArtist"));
    m_artists->setUniformItemSizes(true);
    OnChoice(*m_artists,
             [this](int row) { Run(QStringLiteral("library-artist"), QString::number(row + 1)); });
    m_cdsArtists = CdsBox(QStringLiteral("CheckBoxCDsArtists"), page);
    connect(m_cdsArtists, &QCheckBox::clicked, this, [this](bool checked) {
        Run(QStringLiteral("library-artists-cds"),
            checked ? QStringLiteral("on") : QStringLiteral("off"));
    });
    m_artistsCount = NamedLabel(QStringLiteral("LabelArtists"), page);
    TrackListView* tracks = TrackView(QStringLiteral("ListBoxArtistTracks"), Page::Artists, page);
    m_artistTracks = NamedLabel(QStringLiteral("LabelArtistTracks"), page);
    m_progrThatContainsArtist = NamedLabel(QStringLiteral("LabelProgrThatContainsArtist"), page);
    TrackMenu(QStringLiteral("PopupMenuArtist"), Page::Artists);

    auto* layout = new QGridLayout(page);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_artists, 0, 0);
    layout->addLayout(Row({m_cdsArtists, m_artistsCount}), 1, 0);
    layout->addWidget(tracks, 0, 1);
    layout->addLayout(Row({PlayButton(QStringLiteral("BitBtnPlayArtistTrack"), Page::Artists, page),
                           m_artistTracks, Tracks(page, "Label17"), m_progrThatContainsArtist}),
                      1, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 2);
    return page;
}

void LibraryPages::Rename(Page page) {
    const LibraryTrackView& view = m_client.State().library.View(page);
    if (view.current < 0) return;
    const std::optional<QString> name = AskNewName(this, view.currentTitle);
    if (name) RunOnPage(QStringLiteral("library-rename"), page, *name);
}

void LibraryPages::ShowTrackPath(Page page) {
    const LibraryTrackView& view = m_client.State().library.View(page);
    if (view.current < 0) return;
    // Search results and an artist's tracks come from lists: the dialog names the list.
    ShowPath(this, view.currentTitle, view.currentPath, view.currentList);
}

void LibraryPages::Run(const QString& verb, const QString& argument) {
    m_client.Send(verb, argument, [this](const Result& done) {
        ShowError(this, done.message());
        Done();
    });
}

void LibraryPages::RunOnPage(const QString& verb, Page page, const QString& rest) {
    Run(verb, rest.isNull() ? PageNumber(page) : PageNumber(page) + u' ' + rest);
}

void LibraryPages::ShowProblems(const QStringList& problems) {
    if (problems == m_shownProblems) return;
    m_shownProblems = problems;
    ShowError(this, problems.join(QLatin1Char('\n')));
}

void LibraryPages::Done() { Q_EMIT changed(); }

void LibraryPages::Redraw(const LibraryState& library) {
    m_drawing = true;
    for (const Page page : {Page::Dir, Page::ListsAlphabetic, Page::Search, Page::Artists})
        m_views[static_cast<int>(page)]->Redraw(library.View(page));
    m_tracksInDir->setText(QString::number(library.tracksInDir));
    if (m_mask->count() != library.masks.size()) {
        m_mask->clear();
        m_mask->addItems(library.masks);
    }
    m_mask->setCurrentIndex(library.maskIndex);

    ShowNames(*m_listNames, m_shownListNames, library.listNames);
    m_listNames->setCurrentRow(library.chosenList);
    m_cdsAlphabetic->setChecked(library.includeCdsAlphabetic);
    m_listsCount->setText(QString::number(library.listNames.size()));
    m_tracksInFile->setText(QString::number(library.tracksInFile));

    if (library.favourites != m_shownFavourites) {
        const QString typed = m_search1->currentText();
        m_shownFavourites = library.favourites;
        m_search1->clear();
        m_search1->addItems(m_shownFavourites);
        m_search1->setEditText(typed);
    }
    // A search asked for elsewhere (the control socket) shows in the box, but never while
    // the operator types there: a state still on its way would take a character away.
    if (!m_search1->hasFocus() && m_search1->currentText() != library.searchText)
        m_search1->setEditText(library.searchText);
    m_cdsSearch->setChecked(library.includeCdsSearch);
    m_label21->setText(library.label21);
    m_tracksInSearch->setText(QString::number(library.tracksInSearch));
    m_listThatContains->setText(library.listThatContains);

    ShowNames(*m_artists, m_shownArtists, library.artists);
    m_artists->setCurrentRow(library.chosenArtist);
    m_cdsArtists->setChecked(library.includeCdsArtists);
    m_artistsCount->setText(QString::number(library.artists.size()));
    m_artistTracks->setText(QString::number(library.artistTracks));
    m_progrThatContainsArtist->setText(library.progrThatContainsArtist);
    m_drawing = false;
    if (m_addingFromDir && !library.View(Page::Dir).reading) {
        m_addingFromDir = false;
        Done();
        Q_EMIT addedToEditor();
    }
    ShowProblems(library.problems);
}
