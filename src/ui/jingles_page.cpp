#include "ui/jingles_page.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabBar>
#include <QVBoxLayout>

#include "app/station_client.h"
#include "app/station_state.h"
#include "ui/chooser_dialog.h"
#include "ui/shown_answer.h"

namespace {

// The wall's grid: three buttons a row, each 100 × 22 pixels on a 102 × 24 pitch.
constexpr int kColumns = 3;
constexpr int kPitchX = 102;
constexpr int kPitchY = 24;
constexpr int kMargin = 4;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 22;

}  // namespace

JinglesPage::JinglesPage(StationClient& client, ChooserDialog& lists, QWidget* parent)
    : QWidget(parent),
      m_client(client),
      m_listChooser(lists),
      m_tabs(new QTabBar(this)),
      m_fade(new QCheckBox(QStringLiteral("Fade"), this)),
      m_count(new QLabel(this)),
      m_last(new QLabel(this)) {
    setObjectName(QStringLiteral("TabSheetJingles"));
    m_tabs->setObjectName(QStringLiteral("TabSetJingles"));
    m_tabs->setShape(QTabBar::RoundedSouth);
    m_tabs->setUsesScrollButtons(true);
    m_tabs->setExpanding(false);
    // Eleven tabs need not widen the column: the bar scrolls instead.
    m_tabs->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    connect(m_tabs, &QTabBar::currentChanged, this, [this](int index) {
        if (m_drawing) return;
        m_client.Send(QStringLiteral("jingle-tab"), QString::number(index + 1), ShownAnswer(this));
        Q_EMIT changed();
    });

    auto* set = new QPushButton(QStringLiteral("Set Jingles..."), this);
    set->setObjectName(QStringLiteral("SpeedButtonSetJingles"));
    connect(set, &QPushButton::clicked, this, [this] { SetJingles(); });
    auto* clear = new QPushButton(QStringLiteral("Clear Jingles..."), this);
    clear->setObjectName(QStringLiteral("SpeedButtonCearJingles"));
    connect(clear, &QPushButton::clicked, this, [this] {
        m_client.Send(QStringLiteral("jingles-clear"), {}, ShownAnswer(this));
        Q_EMIT changed();
    });
    auto* stop = new QPushButton(QStringLiteral("Stop"), this);
    stop->setObjectName(QStringLiteral("SpeedButtonStopJingle"));
    stop->setToolTip(QStringLiteral("Stops The current playing jingle- if any"));
    connect(stop, &QPushButton::clicked, this, [this] {
        m_client.Send(QStringLiteral("stop-jingle"));
        Q_EMIT changed();
    });
    m_fade->setObjectName(QStringLiteral("CheckBoxFadeJingles"));
    m_fade->setToolTip(QStringLiteral("Plays the Jingles with fade or not"));
    connect(m_fade, &QCheckBox::clicked, this, [this](bool checked) {
        m_client.Send(QStringLiteral("jingles-fade"),
                      checked ? QStringLiteral("on") : QStringLiteral("off"));
        Q_EMIT changed();
    });
    m_count->setObjectName(QStringLiteral("LabelNoOfJingles"));
    m_last->setObjectName(QStringLiteral("Label5"));

    auto* commands = new QHBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(set), static_cast<QWidget*>(clear),
                       static_cast<QWidget*>(stop), static_cast<QWidget*>(m_fade)})
        commands->addWidget(w);
    commands->addStretch();
    commands->addWidget(m_count);
    commands->addSpacing(12);
    commands->addWidget(m_last);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    layout->addWidget(BuildWall(), 1);
    layout->addWidget(m_tabs);
    layout->addLayout(commands);
}

QWidget* JinglesPage::BuildWall() {
    auto* box = new QScrollArea(this);
    box->setObjectName(QStringLiteral("ScrollBoxSpots1"));
    auto* wall = new QWidget(box);
    wall->setObjectName(QStringLiteral("JingleWall"));
    QPalette black = wall->palette();
    black.setColor(QPalette::Window, Qt::black);
    wall->setPalette(black);
    wall->setAutoFillBackground(true);
    box->setPalette(black);
    box->setAutoFillBackground(true);
    // Lime captions, read from their start: a long title is cut at its end, not both ends.
    wall->setStyleSheet(QStringLiteral(
        "QPushButton { color: #00FF00; background: #181818; border: 1px solid #303030;"
        " text-align: left; padding-left: 3px; }"
        "QPushButton:pressed { background: #305030; }"));
    const int rows = (JinglesState::kButtonCount + kColumns - 1) / kColumns;
    wall->setFixedSize(kColumns * kPitchX + 2 * kMargin, rows * kPitchY + 2 * kMargin);
    for (int i = 0; i < JinglesState::kButtonCount; ++i) {
        auto* button = new QPushButton(wall);
        button->setObjectName(QStringLiteral("JingleButton%1").arg(i));
        button->setGeometry((i % kColumns) * kPitchX + kMargin, (i / kColumns) * kPitchY + kMargin,
                            kButtonWidth, kButtonHeight);
        button->setFocusPolicy(Qt::NoFocus);
        button->hide();
        connect(button, &QPushButton::clicked, this, [this, i] {
            m_client.Send(QStringLiteral("jingle"), QString::number(i + 1));
            Q_EMIT changed();
        });
        m_buttons.push_back(button);
    }
    box->setWidget(wall);
    return box;
}

void JinglesPage::SetJingles() {
    // While locked nothing is asked: the command says why it refuses.
    QString chosen;
    if (!m_state.locked) {
        ChooserState chooser = m_client.State().calendar.listChooser;
        chooser.items = m_listNames;
        chooser.multiSelect = false;
        const QStringList names = m_listChooser.AskNames(chooser);
        if (names.isEmpty()) return;
        chosen = names.first();
    }
    m_client.Send(QStringLiteral("jingles-set"), chosen, ShownAnswer(this));
    Q_EMIT changed();
}

void JinglesPage::Redraw(const StationState& station) {
    const JinglesState& wall = station.jingles;
    m_listNames = station.lists.names;
    m_state = wall;
    m_drawing = true;
    for (int i = 0; i < wall.tabs.size(); ++i) {
        if (i >= m_tabs->count())
            m_tabs->addTab(wall.tabs[i]);
        else if (m_tabs->tabText(i) != wall.tabs[i])
            m_tabs->setTabText(i, wall.tabs[i]);
    }
    while (m_tabs->count() > wall.tabs.size()) m_tabs->removeTab(m_tabs->count() - 1);
    // The bar had no tab when the page was laid out; keep room for it under the wall.
    m_tabs->setMinimumHeight(m_tabs->sizeHint().height());
    m_tabs->setCurrentIndex(wall.currentTab);
    m_drawing = false;
    if (wall.captions != m_shownCaptions) {
        m_shownCaptions = wall.captions;
        for (int i = 0; i < int(m_buttons.size()); ++i) {
            m_buttons[i]->setText(m_shownCaptions.value(i));
            m_buttons[i]->setToolTip(m_shownCaptions.value(i));
            m_buttons[i]->setVisible(i < m_shownCaptions.size());
        }
    }
    m_count->setText(QString::number(wall.captions.size()));
    m_last->setText(wall.lastCaption);
    m_fade->setChecked(wall.fade);
}
