#include "ui/played_page.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>

#include "app/station.h"
#include "ui/operator_messages.h"

PlayedPage::PlayedPage(Station& station, QWidget* parent)
    : QWidget(parent),
      m_station(station),
      m_played(new QListWidget(this)),
      m_dontClear(new QCheckBox(QStringLiteral("Don't Clear automaticaly the tracks"), this)),
      m_count(new QLabel(this)) {
    setObjectName(QStringLiteral("TabSheetPlayed"));
    m_played->setObjectName(QStringLiteral("ListBoxPrevPlayed1"));
    connect(m_played, &QListWidget::itemSelectionChanged, this, [this] {
        const QList<QListWidgetItem*> rows = m_played->selectedItems();
        m_station.Engine().SelectPlayedRow(rows.isEmpty() ? -1 : m_played->row(rows.first()));
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
        m_station.Engine().ClearPlayed();
        Q_EMIT changed();
    });

    m_dontClear->setObjectName(QStringLiteral("CheckBoxDontClearAutomaticallyPrevTracks"));
    connect(m_dontClear, &QCheckBox::clicked, this, [this](bool checked) {
        m_station.Loader().CheckBoxDontClearAutomaticallyPrevTracksClick(checked);
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
        RunCommand(this, [this] { return m_station.Desk().AddPlayedToProgram(); });
        Q_EMIT changed();
    });
    QAction* path = menu->addAction(QStringLiteral("Show Path"));
    path->setObjectName(QStringLiteral("ShowPathPlayed"));
    connect(path, &QAction::triggered, this, [this] {
        const PlayedList& played = m_station.Engine().Played();
        if (played.SelectedRow >= 0) ShowPath(this, played.PathAt(played.SelectedRow));
    });
    m_played->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_played, &QWidget::customContextMenuRequested, menu,
            [this, menu](const QPoint& at) { menu->popup(m_played->viewport()->mapToGlobal(at)); });
}

void PlayedPage::PlaySelected() {
    m_station.Engine().PlayPlayedRow(m_station.Engine().Played().SelectedRow);
    Q_EMIT changed();
}

void PlayedPage::Save() {
    // While locked no file is asked for: the save says why it refuses.
    QString file;
    if (!m_station.Lock().LockPrograms) {
        file = QFileDialog::getSaveFileName(this, QString(), m_station.Folders().ListsPath);
        if (file.isEmpty()) return;
    }
    RunCommand(this, [&] { return m_station.SavePlayedList(file); });
    // A list saved into the lists folder shows on the Lists tab at once.
    Q_EMIT changed();
}

void PlayedPage::Redraw() {
    const PlayedList& played = m_station.Engine().Played();
    if (played.Titles() != m_shown) {
        // Rows are only ever appended between clears: add the new ones, keep the rest.
        if (played.Titles().mid(0, m_shown.size()) == m_shown) {
            m_played->addItems(played.Titles().mid(m_shown.size()));
        } else {
            m_played->clear();
            m_played->addItems(played.Titles());
        }
        m_shown = played.Titles();
        m_shownTop = -1;
    }
    if (played.TopRow != m_shownTop && played.TopRow < m_played->count()) {
        m_played->scrollToItem(m_played->item(played.TopRow), QAbstractItemView::PositionAtTop);
        m_shownTop = played.TopRow;
    }
    m_count->setText(QString::number(played.LabelPlayedTracks));
    m_dontClear->setChecked(m_station.Loader().DontClearPrevTracks);
}
