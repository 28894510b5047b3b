#include "ui/program_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/station.h"
#include "ui/colours.h"
#include "ui/pointer_widgets.h"

ProgramPanel::ProgramPanel(Station& station, QWidget* parent)
    : QWidget(parent),
      m_station(station),
      m_programName(new QLabel(this)),
      m_span(new QLabel(this)),
      m_random(new QCheckBox(QStringLiteral("Selections"), this)),
      m_tracksToPlay(new QLabel(this)) {
    setObjectName(QStringLiteral("PanelNextTracks"));
    auto* runProgram = new QLabel(QStringLiteral("Program"), this);
    runProgram->setObjectName(QStringLiteral("LabelRunProgram"));
    m_programName->setObjectName(QStringLiteral("LabelProgramName1"));
    m_span->setObjectName(QStringLiteral("LabelWra2"));
    QFont bold = font();
    bold.setBold(true);
    for (QLabel* l : {runProgram, m_programName, m_span}) {
        l->setFont(bold);
        l->setMargin(3);
        l->setTextFormat(Qt::PlainText);
    }
    m_programName->setMinimumWidth(40);
    m_programName->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    auto* programRow = new QHBoxLayout;
    programRow->setSpacing(0);
    programRow->addWidget(runProgram);
    programRow->addWidget(m_span);
    programRow->addWidget(m_programName, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addLayout(programRow);

    const int lineHeight = QFontMetrics(font()).lineSpacing();
    for (int n = 1; n <= 5; ++n) {
        auto* label = new ClickableLabel(this);
        label->setObjectName(QStringLiteral("LabelTrackPlay%1").arg(n));
        label->setTextFormat(Qt::PlainText);
        label->setAutoFillBackground(true);
        // Three lines and a thin margin: the left column must fit a 720-pixel screen.
        label->setMargin(1);
        label->setFixedHeight(lineHeight * 3 + 4);
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        connect(label, &ClickableLabel::clicked, this, [this, n] {
            m_station.Engine().ClickNextTrackLabel(n);
            Q_EMIT changed();
        });
        connect(label, &ClickableLabel::doubleClicked, this, [this, n] {
            m_station.Engine().DoubleClickNextTrackLabel(n);
            Q_EMIT changed();
        });
        m_next[n - 1] = label;
        layout->addWidget(label);
    }

    m_random->setObjectName(QStringLiteral("CheckBoxRandomPlay1"));
    m_random->setToolTip(QStringLiteral("Random choice of tracks within a list"));
    connect(m_random, &QCheckBox::clicked, this,
            [this](bool checked) { m_station.Engine().SetRandomPlay(checked); });
    m_tracksToPlay->setObjectName(QStringLiteral("LabeltracksToPlay1"));
    auto* tracks = new QLabel(QStringLiteral("tracks"), this);
    tracks->setObjectName(QStringLiteral("Label20"));
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(m_random);
    countRow->addStretch();
    AddQueueButtons(*countRow);
    countRow->addStretch();
    countRow->addWidget(m_tracksToPlay);
    countRow->addWidget(tracks);
    layout->addLayout(countRow);
}

// Moves and removal of the marked next track, and the insert from the library page shown.
void ProgramPanel::AddQueueButtons(QHBoxLayout& row) {
    const auto button = [&](const char* name, const QString& caption, const QString& hint,
                            void (LibraryDesk::*command)()) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, command] {
            (m_station.Desk().*command)();
            Q_EMIT changed();
        });
        row.addWidget(b);
        return b;
    };
    button("ButtonUpPlay1", QStringLiteral("▲"), QStringLiteral("Move the selected track up"),
           &LibraryDesk::ButtonUpPlay1Click)
        ->setFixedWidth(30);
    button("ButtonDownPlay1", QStringLiteral("▼"), QStringLiteral("Move the selected track down"),
           &LibraryDesk::ButtonDownPlay1Click)
        ->setFixedWidth(30);
    button("ButtonPlayDel1", QStringLiteral("Del"), QStringLiteral("Delete the selected track"),
           &LibraryDesk::ButtonPlayDel1Click)
        ->setFixedWidth(40);
    button("SpeedButton8", QStringLiteral("<<<-----"),
           QStringLiteral("Moves the selected song from the right window to the play list"),
           &LibraryDesk::SpeedButton8Click);
}

void ProgramPanel::Redraw() {
    const ProgramLoader& loader = m_station.Loader();
    m_programName->setText(loader.LabelProgramName1());
    m_programName->setToolTip(loader.LabelProgramName1());
    m_span->setText(loader.LabelWra2());
    m_tracksToPlay->setText(loader.LabeltracksToPlay1());

    const PlayQueue& queue = m_station.Engine().Queue();
    m_random->setChecked(queue.RandomPlay);
    const auto& texts = queue.NextTrackTexts();
    for (int n = 1; n <= 5; ++n) {
        ClickableLabel* label = m_next[n - 1];
        // The core separates the three lines with a lone CR.
        QString text = texts[n - 1];
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        label->setText(text);
        const QColor background = QtColour(queue.LabelColour(n));
        if (label->palette().color(QPalette::Window) != background) {
            QPalette p = label->palette();
            p.setColor(QPalette::Window, background);
            label->setPalette(p);
        }
    }
}
