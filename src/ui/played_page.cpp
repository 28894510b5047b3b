#include "ui/played_page.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include "app/station_client.h"
#include "ui/operator_messages.h"
#include "ui/shown_answer.h"

PlayedPage::PlayedPage(StationClient& client, QWidget* parent)
    : QWidget(parent),
      m_client(client),
      m_played(new QListWidget(this)),
      m_dontClear(new QCheckBox(QStringLiteral("Don't Clear automaticaly the tracks"), this)),
      m_count(new QLabel(this)) {
    setObjectName(QStringLiteral("TabSheetPlayed"));
    m_played->setObjectName(QStringLiteral("ListBoxPrevPlayed1"));
    // A row lost because the list was redrawn is the core's doing, not the operator's.
    connect(m_played, &QListWidget::itemSelectionChanged, this, [this] {
        if (m_drawing) return;
        const int row = ChosenRow();
        m_client.Send(QStringLiteral("played-select"),
                      row < 0 ? QString() : QString::number(row + 1));
    });
    connect(m_played, &QListWidget::itemDoubleClicked, this, [this] { PlaySelected(); });
    SetUpMenu();

    auto* play = new QPushButton(QStringLiteral("Play"), this);
    play->setObjectName(QStringLiteral("SpeedButton7"));
    play->setToolTip(QStringLiteral("Play the selected track above"));
    connect(play, &QPushButton::clicked, this, [this] { PlaySelected(); });
    auto* save = new QPushButton(QStringLiteral("Save..."), this);
    save->setObjectName(QStringLiteral("ButtonSaveList1Click"));
    save->setToolTip(QStringLiteral("Save the played tracks as a list on the Lists window"));
    connect(save, &QPushButton::clicked, this, [this] { Save(); });
    auto* clear = new QPushButton(QStringLiteral("Clear..."), this);
    clear->setObjectName(QStringLiteral("SpeedButtonClearPrevList"));
    clear->setToolTip(QStringLiteral("Clear this window..."));
    connect(clear, &QPushButton::clicked, this, [this] {
        if (!Confirm(this, QStringLiteral("Clear the list with the previous played tracks ?")))
            return;
        m_client.Send(QStringLiteral("played-clear"), {}, ShownAnswer(this));
        Q_EMIT changed();
    });

    m_dontClear->setObjectName(QStringLiteral("CheckBoxDontClearAutomaticallyPrevTracks"));
    connect(m_dontClear, &QCheckBox::clicked, this, [this](bool checked) {
        m_client.Send(QStringLiteral("played-dont-clear"),
                      checked ? QStringLiteral("on") : QStringLiteral("off"), ShownAnswer(this));
    });
    m_count->setObjectName(QStringLiteral("LabelPlayedTracks"));
    auto* tracks = new QLabel(QStringLiteral("tracks"), this);
    tracks->setObjectName(QStringLiteral("Label8"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(play);
    buttons->addWidget(save);
    buttons->addWidget(clear);
    buttons->addStretch();
    buttons->addWidget(m_count);
    buttons->addWidget(tracks);
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_played, 0, 0);
    layout->addLayout(buttons, 1, 0);
    layout->addWidget(m_dontClear, 2, 0);
}

// `PopupMenuForPrev1`: the chosen track into the list being edited, or its path.
void PlayedPage::SetUpMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PopupMenuForPrev1"));
    QAction* add = menu->addAction(QStringLiteral("AddToProgram"));
    add->setObjectName(QStringLiteral("AddToProgram4"));
    connect(add, &QAction::triggered, this, [this] {
        m_client.Send(QStringLiteral("played-add-to-list"), {}, ShownAnswer(this));
        Q_EMIT changed();
    });
    QAction* path = menu->addAction(QStringLiteral("Show Path"));
    path->setObjectName(QStringLiteral("ShowPathPlayed"));
    connect(path, &QAction::triggered, this, [this] {
        const int row = ChosenRow();
        if (row >= 0 && row < m_state.paths.size())
            ShowPath(this, m_state.titles.value(row), m_state.paths[row], QString());
    });
    m_played->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_played, &QWidget::customContextMenuRequested, menu,
            [this, menu](const QPoint& at) { menu->popup(m_played->viewport()->mapToGlobal(at)); });
}

int PlayedPage::ChosenRow() const {
    const QList<QListWidgetItem*> rows = m_played->selectedItems();
    return rows.isEmpty() ? -1 : m_played->row(rows.first());
}

void PlayedPage::PlaySelected() {
    if (const int row = ChosenRow(); row >= 0)
        m_client.Send(QStringLiteral("played-play"), QString::number(row + 1));
    Q_EMIT changed();
}

void PlayedPage::Save() {
    // While locked no file is asked for: the save says why it refuses.
    QString file;
    if (!m_state.locked) {
        file = QFileDialog::getSaveFileName(this, QString(), m_state.listsFolder);
        if (file.isEmpty()) return;
    }
    m_client.Send(QStringLiteral("played-save"), file, ShownAnswer(this));
    // A list saved into the lists folder shows on the Lists tab at once.
    Q_EMIT changed();
}

void PlayedPage::Redraw(const PlayedState& state) {
    m_drawing = true;
    if (state.titles != m_shown) {
        // Rows are only ever appended between clears: add the new ones, keep the rest.
        if (state.titles.mid(0, m_shown.size()) == m_shown) {
            m_played->addItems(state.titles.mid(m_shown.size()));
        } else {
            m_played->clear();
            m_played->addItems(state.titles);
        }
        m_shown = state.titles;
        m_shownTop = -1;
    }
    if (state.topRow != m_shownTop && state.topRow < m_played->count()) {
        m_played->scrollToItem(m_played->item(state.topRow), QAbstractItemView::PositionAtTop);
        m_shownTop = state.topRow;
    }
    m_count->setText(QString::number(state.count));
    m_dontClear->setChecked(state.dontClear);
    m_state = state;
    m_drawing = false;
}
