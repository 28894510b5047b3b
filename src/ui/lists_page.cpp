#include "ui/lists_page.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/station.h"
#include "ui/operator_messages.h"

ListsPage::ListsPage(Station& station, QWidget* parent)
    : QWidget(parent),
      m_station(station),
      m_names(new QListWidget(this)),
      m_includeCds(new QCheckBox(QStringLiteral("+CDs"), this)),
      m_totalPrograms(new QLabel(this)),
      m_newName(new QLineEdit(this)),
      m_titles(new QListWidget(this)),
      m_totalTracks(new QLabel(this)) {
    setObjectName(QStringLiteral("TabSheetLists"));
    SetUpNames();
    QHBoxLayout* namesFooter = BuildNamesFooter();
    QHBoxLayout* nameRow = BuildNameRow();
    SetUpTitles();
    QVBoxLayout* editorButtons = BuildEditorButtons();
    QHBoxLayout* editorFooter = BuildEditorFooter();

    // Names on the left, the list being edited on the right.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_names, 0, 0, 2, 1);
    layout->addLayout(namesFooter, 2, 0);
    layout->addLayout(nameRow, 0, 1, 1, 2);
    layout->addWidget(m_titles, 1, 1);
    layout->addLayout(editorButtons, 1, 2);
    layout->addLayout(editorFooter, 2, 1, 1, 2);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(1, 3);
}

void ListsPage::SetUpNames() {
    m_names->setObjectName(QStringLiteral("ListBoxFileListBox"));
    m_names->installEventFilter(this);
    m_names->viewport()->installEventFilter(this);
    // Every click loads its name, the chosen one too (to drop unwanted edits); the arrow
    // keys load the name they select. The focus alone (which makes the first row current)
    // loads nothing.
    connect(m_names, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { LoadList(m_names->row(item)); });
    connect(m_names, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> chosen = m_names->selectedItems();
        if (m_drawing || m_pressingName || chosen.isEmpty()) return;
        LoadList(m_names->row(chosen.first()));
    });
    auto* playProgram = new QAction(QStringLiteral("PlayThe Program now"), m_names);
    playProgram->setObjectName(QStringLiteral("PlayTheProgramnow1"));
    m_names->addAction(playProgram);
    m_names->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(playProgram, &QAction::triggered, this, [this] {
        RunCommand(this, [&] {
            return m_station.Loader().PlayTheProgramnow1Click(m_station.Lists().ChosenListName());
        });
        Q_EMIT changed();
    });
}

QHBoxLayout* ListsPage::BuildNamesFooter() {
    m_includeCds->setObjectName(QStringLiteral("CheckBoxIncludeCDsLists"));
    m_includeCds->setToolTip(QStringLiteral("Show lists starting with the prefix CD_"));
    connect(m_includeCds, &QCheckBox::clicked, this, [this](bool checked) {
        m_station.Lists().CheckBoxIncludeCDsListsClick(checked);
        Q_EMIT changed();
    });
    m_totalPrograms->setObjectName(QStringLiteral("LabelTotalPrograms1"));
    auto* programs = new QLabel(QStringLiteral("programs"), this);
    programs->setObjectName(QStringLiteral("Label10"));
    auto* deleteList = new QPushButton(this);
    deleteList->setObjectName(QStringLiteral("ButtonDelProgram1"));
    deleteList->setIcon(style()->standardIcon(QStyle::SP_TrashIcon));
    deleteList->setToolTip(QStringLiteral("Deletes the selected list..."));
    connect(deleteList, &QPushButton::clicked, this, [this] { DeleteList(); });

    auto* namesFooter = new QHBoxLayout;
    namesFooter->addWidget(m_includeCds);
    namesFooter->addStretch();
    namesFooter->addWidget(m_totalPrograms);
    namesFooter->addWidget(programs);
    namesFooter->addWidget(deleteList);
    return namesFooter;
}

QHBoxLayout* ListsPage::BuildNameRow() {
    auto* newList = new QPushButton(QStringLiteral("NEW"), this);
    newList->setObjectName(QStringLiteral("SpeedButtonNewProgram1"));
    newList->setToolTip(QStringLiteral("Make a new list"));
    connect(newList, &QPushButton::clicked, this, [this] {
        RunCommand(this, [this] { return m_station.Lists().SpeedButtonNewProgram1Click(); });
        Q_EMIT changed();
        m_newName->setFocus();
    });
    m_newName->setObjectName(QStringLiteral("EditNewProgramName1"));
    m_newName->setToolTip(QStringLiteral("Write the name of a new list"));
    m_newName->setPlaceholderText(m_newName->toolTip());
    connect(m_newName, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_station.Lists().EditNewProgramName1Change(text); });
    auto* save = new QPushButton(QStringLiteral("Save"), this);
    save->setObjectName(QStringLiteral("BitBtnSaveProgram1"));
    save->setToolTip(QStringLiteral("Save the changed list"));
    connect(save, &QPushButton::clicked, this, [this] {
        const QString question = m_station.Lists().SaveListQuestion();
        const bool yes = question.isEmpty() || Confirm(this, question);
        RunCommand(this, [&] { return m_station.Lists().BitBtnSaveProgram1Click(yes); });
        Q_EMIT changed();
    });

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(newList);
    nameRow->addWidget(m_newName, 1);
    nameRow->addWidget(save);
    return nameRow;
}

void ListsPage::SetUpTitles() {
    m_titles->setObjectName(QStringLiteral("ListBoxTitles1"));
    m_titles->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_titles->installEventFilter(this);
    connect(m_titles, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_drawing) SyncSelection();
    });
    connect(m_titles, &QListWidget::itemDoubleClicked, this, [this] { PlayNow(); });
    SetUpTitlesMenu();
}

// `PopupMenu1`: the current entry into the queue or the selection list, a new name, or
// its path.
void ListsPage::SetUpTitlesMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenu1"));
    const auto item = [&](const char* name, const QString& caption, auto command) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, [this, command] {
            SyncSelection();
            command();
            Q_EMIT changed();
        });
    };
    LibraryDesk& desk = m_station.Desk();
    item("AddFirstToPlaylist3", QStringLiteral("Insert To Playlist"),
         [&desk] { desk.InsertEditorRow(); });
    item("AddToPlayList1", QStringLiteral("AddToPlayList"),
         [&desk] { desk.AddEditorRowsToPlayList(); });
    item("Rename2", QStringLiteral("Rename"), [this, &desk] {
        const int row = m_station.Lists().CurrentRow();
        if (row < 0) return;
        const auto name = AskNewName(this, m_station.Lists().Rows()[row].title);
        if (name) RunCommand(this, [&] { return desk.RenameEditorRow(*name); });
    });
    item("ShowPath6", QStringLiteral("Show Path"), [this] {
        const ListEditor& lists = m_station.Lists();
        if (const int row = lists.CurrentRow(); row >= 0)
            ShowPath(this, lists.Rows()[row].title, lists.Rows()[row].path, QString());
    });
    m_titles->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_titles, &QWidget::customContextMenuRequested, menu,
            [this, menu](const QPoint& at) { menu->popup(m_titles->viewport()->mapToGlobal(at)); });
}

void ListsPage::ScrollToLast() {
    if (m_titles->count() > 0)
        m_titles->scrollToItem(m_titles->item(m_titles->count() - 1),
                               QAbstractItemView::PositionAtTop);
}

QVBoxLayout* ListsPage::BuildEditorButtons() {
    QStyle* s = style();
    QPushButton* up =
        TrackButton(QStringLiteral("ButtonUpProgr2"), s->standardIcon(QStyle::SP_ArrowUp),
                    QStringLiteral("Move the track up"), &ListEditor::ButtonUpProgr2Click);
    QPushButton* down =
        TrackButton(QStringLiteral("ButtonDnProgr2"), s->standardIcon(QStyle::SP_ArrowDown),
                    QStringLiteral("Move the track down"), &ListEditor::ButtonDnProgr2Click);
    QPushButton* removeTracks = TrackButton(
        QStringLiteral("ButtonDelTrackFromProg"), s->standardIcon(QStyle::SP_DialogDiscardButton),
        QStringLiteral("Deletes the selected tracks"), &ListEditor::ButtonDelTrackFromProgClick);
    auto* play = new QPushButton(QStringLiteral("Play"), this);
    play->setObjectName(QStringLiteral("SpeedButton9"));
    play->setToolTip(QStringLiteral("Play the selected track above"));
    connect(play, &QPushButton::clicked, this, [this] { PlayNow(); });

    auto* editorButtons = new QVBoxLayout;
    editorButtons->addWidget(up);
    editorButtons->addWidget(down);
    editorButtons->addWidget(removeTracks);
    editorButtons->addStretch();
    editorButtons->addWidget(play);
    return editorButtons;
}

QPushButton* ListsPage::TrackButton(const QString& name, const QIcon& icon, const QString& hint,
                                    Result (ListEditor::*command)()) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    button->setIcon(icon);
    button->setToolTip(hint);
    connect(button, &QPushButton::clicked, this, [this, command] {
        SyncSelection();
        RunCommand(this, [this, command] { return (m_station.Lists().*command)(); });
        Q_EMIT changed();
    });
    return button;
}

QHBoxLayout* ListsPage::BuildEditorFooter() {
    m_totalTracks->setObjectName(QStringLiteral("LabelTotalTracks1"));
    auto* tracks = new QLabel(QStringLiteral("tracks"), this);
    tracks->setObjectName(QStringLiteral("Label6"));
    auto* editorFooter = new QHBoxLayout;
    editorFooter->addStretch();
    editorFooter->addWidget(m_totalTracks);
    editorFooter->addWidget(tracks);
    return editorFooter;
}

void ListsPage::SyncSelection() {
    ListEditor& lists = m_station.Lists();
    for (int row = 0; row < m_titles->count(); ++row)
        lists.SetSelected(row, m_titles->item(row)->isSelected());
    lists.SetCurrentRow(m_titles->currentRow());
}

void ListsPage::LoadList(int row) {
    RunCommand(this, [&] { return m_station.Lists().ListBoxFileListBoxClick(row); });
    Q_EMIT changed();
}

void ListsPage::DeleteList() {
    // No question while locked: the command then says why it refuses.
    const QString question = m_station.Lists().DeleteListQuestion();
    const bool yes = !question.isEmpty() && Confirm(this, question);
    RunCommand(this, [&] { return m_station.Lists().ButtonDelProgram1Click(yes); });
    Q_EMIT changed();
}

void ListsPage::PlayNow() {
    SyncSelection();
    m_station.PlayNow();
    Q_EMIT changed();
}

bool ListsPage::eventFilter(QObject* watched, QEvent* event) {
    // A left press selects before its click; the click loads the name, the press must not
    // too. Other buttons make no click, so their selection loads the name at once.
    if (watched == m_names->viewport()) {
        if (event->type() == QEvent::MouseButtonPress)
            m_pressingName = static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
        if (event->type() == QEvent::MouseButtonRelease) m_pressingName = false;
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == m_titles &&
        (key->key() == Qt::Key_Delete ||
         (key->key() == Qt::Key_A && key->modifiers().testFlag(Qt::ControlModifier)))) {
        SyncSelection();
        m_station.Lists().ListBoxTitles1KeyDown(key->key(), key->modifiers());
        Q_EMIT changed();
        return true;
    }
    if (watched == m_names && key->key() == Qt::Key_Delete) {
        if (m_station.Lists().ListBoxFileListBoxKeyDown(key->key())) DeleteList();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ListsPage::Redraw() {
    m_drawing = true;
    const ListEditor& lists = m_station.Lists();
    if (lists.ListNames() != m_shownNames) {
        m_names->clear();
        m_names->addItems(lists.ListNames());
        m_shownNames = lists.ListNames();
    }
    const QList<QListWidgetItem*> chosen = m_names->selectedItems();
    const int shownChoice = chosen.isEmpty() ? -1 : m_names->row(chosen.first());
    if (shownChoice != lists.ChosenListIndex()) {
        m_names->clearSelection();
        m_names->setCurrentRow(lists.ChosenListIndex());
    }
    m_includeCds->setChecked(lists.IncludeCds());
    m_totalPrograms->setText(QString::number(lists.TotalPrograms()));
    if (m_newName->text() != lists.NewProgramName()) m_newName->setText(lists.NewProgramName());

    QStringList titles;
    titles.reserve(qsizetype(lists.Rows().size()));
    for (const ListEditor::Row& row : lists.Rows()) titles.append(row.title);
    if (titles != m_shownTitles) {
        m_titles->clear();
        m_titles->addItems(titles);
        m_shownTitles = titles;
    }
    // The core's selection wins: Ctrl+A, a move and a removal change it.
    for (int row = 0; row < m_titles->count(); ++row) {
        QListWidgetItem* item = m_titles->item(row);
        const bool selected = lists.Rows()[std::size_t(row)].selected;
        if (item->isSelected() != selected) item->setSelected(selected);
    }
    if (m_titles->currentRow() != lists.CurrentRow()) {
        m_titles->setCurrentRow(lists.CurrentRow(), QItemSelectionModel::NoUpdate);
    }
    m_totalTracks->setText(QString::number(lists.TotalTracks()));
    m_drawing = false;
}
