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
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/station_client.h"
#include "ui/loudness_tips.h"
#include "ui/operator_messages.h"
#include "ui/shown_answer.h"

ListsPage::ListsPage(StationClient& client, QWidget* parent)
    : QWidget(parent),
      m_client(client),
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
        m_client.Send(QStringLiteral("lists-play-program"), {}, ShownAnswer(this));
        Q_EMIT changed();
    });
}

QHBoxLayout* ListsPage::BuildNamesFooter() {
    m_includeCds->setObjectName(QStringLiteral("CheckBoxIncludeCDsLists"));
    m_includeCds->setToolTip(QStringLiteral("Show lists starting with the prefix CD_"));
    connect(m_includeCds, &QCheckBox::clicked, this, [this](bool checked) {
        m_client.Send(QStringLiteral("lists-include-cds"),
                      checked ? QStringLiteral("on") : QStringLiteral("off"));
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
        m_client.Send(QStringLiteral("lists-new"), {}, ShownAnswer(this));
        Q_EMIT changed();
        m_newName->setFocus();
    });
    m_newName->setObjectName(QStringLiteral("EditNewProgramName1"));
    m_newName->setToolTip(QStringLiteral("Write the name of a new list"));
    m_newName->setPlaceholderText(m_newName->toolTip());
    connect(m_newName, &QLineEdit::textEdited, this, [this](const QString& text) {
        ++m_namesInFlight;
        m_client.Send(QStringLiteral("lists-name"), text,
                      [page = QPointer<ListsPage>(this)](const Result&) {
                          if (page) --page->m_namesInFlight;
                      });
    });
    auto* save = new QPushButton(QStringLiteral("Save"), this);
    save->setObjectName(QStringLiteral("BitBtnSaveProgram1"));
    save->setToolTip(QStringLiteral("Save the changed list"));
    connect(save, &QPushButton::clicked, this, &ListsPage::Save);

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
    new LoudnessTips(*m_titles, m_client, [this](int row) {
        m_client.Send(QStringLiteral("lists-loudness"), QString::number(row + 1));
    });
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
    item("AddFirstToPlaylist3", QStringLiteral("Insert To Playlist"),
         [this] { m_client.Send(QStringLiteral("lists-insert-to-playlist")); });
    item("AddToPlayList1", QStringLiteral("AddToPlayList"),
         [this] { m_client.Send(QStringLiteral("lists-add-to-playlist")); });
    // The entry the operator sees with the focus: the state may not have caught up yet.
    item("Rename2", QStringLiteral("Rename"), [this] {
        const int row = m_titles->currentRow();
        if (row < 0 || row >= m_state.titles.size()) return;
        const auto name = AskNewName(this, m_state.titles[row]);
        if (name) m_client.Send(QStringLiteral("lists-rename-track"), *name, ShownAnswer(this));
    });
    item("ShowPath6", QStringLiteral("Show Path"), [this] {
        const int row = m_titles->currentRow();
        if (row >= 0 && row < m_state.paths.size())
            ShowPath(this, m_state.titles[row], m_state.paths[row], QString());
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
                    QStringLiteral("Move the track up"), "lists-move-up");
    QPushButton* down =
        TrackButton(QStringLiteral("ButtonDnProgr2"), s->standardIcon(QStyle::SP_ArrowDown),
                    QStringLiteral("Move the track down"), "lists-move-down");
    QPushButton* removeTracks = TrackButton(
        QStringLiteral("ButtonDelTrackFromProg"), s->standardIcon(QStyle::SP_DialogDiscardButton),
        QStringLiteral("Deletes the selected tracks"), "lists-remove-tracks");
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
                                    const char* verb) {
    auto* button = new QPushButton(this);
    button->setObjectName(name);
    button->setIcon(icon);
    button->setToolTip(hint);
    connect(button, &QPushButton::clicked, this, [this, verb] {
        SyncSelection();
        m_client.Send(QLatin1String(verb), {}, ShownAnswer(this));
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
    QStringList rows{QString::number(m_titles->currentRow() + 1)};
    for (int row = 0; row < m_titles->count(); ++row)
        if (m_titles->item(row)->isSelected()) rows.append(QString::number(row + 1));
    ++m_selectionsInFlight;
    m_client.Send(QStringLiteral("lists-select"), rows.join(u' '),
                  [page = QPointer<ListsPage>(this)](const Result&) {
                      if (page) --page->m_selectionsInFlight;
                  });
}

void ListsPage::LoadList(int row) {
    m_client.Send(QStringLiteral("lists-open"), QString::number(row + 1), ShownAnswer(this));
    Q_EMIT changed();
}

// An empty editor over a list that holds tracks is written only after the operator's Yes:
// the first save answers with the question instead of writing.
void ListsPage::Save() {
    m_client.Send(QStringLiteral("lists-save"), {},
                  [page = QPointer<ListsPage>(this)](const Result& done) {
                      if (!page) return;
                      if (done.kind() != Result::Kind::Warning) {
                          ShowError(page, done.message());
                      } else if (Confirm(page, done.message())) {
                          page->m_client.Send(QStringLiteral("lists-save"),
                                              QStringLiteral("confirmed"), ShownAnswer(page));
                      }
                      Q_EMIT page->changed();
                  });
}

void ListsPage::DeleteList() {
    // No question while locked: the command then says why it refuses.
    const QString question = m_state.deleteQuestion;
    if (!question.isEmpty() && !Confirm(this, question)) return;
    m_client.Send(QStringLiteral("lists-delete"), {}, ShownAnswer(this));
    Q_EMIT changed();
}

void ListsPage::PlayNow() {
    SyncSelection();
    m_client.Send(QStringLiteral("lists-play-now"));
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
        // Delete while locked does nothing, as if it had not been pressed: no answer shown.
        m_client.Send(key->key() == Qt::Key_Delete ? QStringLiteral("lists-remove-tracks")
                                                   : QStringLiteral("lists-select-all"));
        Q_EMIT changed();
        return true;
    }
    if (watched == m_names && key->key() == Qt::Key_Delete) {
        // Only a chosen list, and never while locked: then there is no question.
        if (!m_state.deleteQuestion.isEmpty()) DeleteList();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void ListsPage::Redraw(const ListsState& state) {
    m_drawing = true;
    if (state.names != m_state.names) {
        m_names->clear();
        m_names->addItems(state.names);
    }
    const QList<QListWidgetItem*> chosen = m_names->selectedItems();
    const int shownChoice = chosen.isEmpty() ? -1 : m_names->row(chosen.first());
    if (shownChoice != state.chosen) {
        m_names->clearSelection();
        m_names->setCurrentRow(state.chosen);
    }
    m_includeCds->setChecked(state.includeCds);
    m_totalPrograms->setText(QString::number(state.names.size()));
    if (m_namesInFlight == 0 && m_newName->text() != state.newName)
        m_newName->setText(state.newName);

    const bool newTitles = state.titles != m_state.titles;
    if (newTitles) {
        m_titles->clear();
        m_titles->addItems(state.titles);
    }
    // The core's selection wins: Ctrl+A, a move and a removal change it.
    if (newTitles || m_selectionsInFlight == 0) {
        QList<bool> selection(m_titles->count(), false);
        for (const int row : state.selected)
            if (row < selection.size()) selection[row] = true;
        for (int row = 0; row < m_titles->count(); ++row) {
            QListWidgetItem* item = m_titles->item(row);
            const bool selected = selection[row];
            if (item->isSelected() != selected) item->setSelected(selected);
        }
        if (m_titles->currentRow() != state.currentRow)
            m_titles->setCurrentRow(state.currentRow, QItemSelectionModel::NoUpdate);
    }
    m_totalTracks->setText(QString::number(state.titles.size()));
    m_state = state;
    m_drawing = false;
}
