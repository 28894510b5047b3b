#include "ui/program_panel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/program_state.h"
#include "app/station_client.h"
#include "ui/colours.h"
#include "ui/pointer_widgets.h"

ProgramPanel::ProgramPanel(StationClient& client, QWidget* parent)
    : QWidget(parent),
      m_client(client),
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
        connect(label, &ClickableLabel::clicked, this,
                [this, n] { Send(QStringLiteral("mark-next"), QString::number(n)); });
        connect(label, &ClickableLabel::doubleClicked, this,
                [this, n] { Send(QStringLiteral("play-next"), QString::number(n)); });
        m_next[n - 1] = label;
        layout->addWidget(label);
    }

    m_random->setObjectName(QStringLiteral("CheckBoxRandomPlay1"));
    m_random->setToolTip(QStringLiteral("Random choice of tracks within a list"));
    connect(m_random, &QCheckBox::clicked, this, [this](bool checked) {
        Send(QStringLiteral("random-play"), checked ? QStringLiteral("on") : QStringLiteral("off"));
    });
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
                            const QString& verb) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QPushButton::clicked, this, [this, verb] { Send(verb); });
        row.addWidget(b);
        return b;
    };
    button("ButtonUpPlay1", QStringLiteral("▲"), QStringLiteral("Move the selected track up"),
           QStringLiteral("next-up"))
        ->setFixedWidth(30);
    button("ButtonDownPlay1", QStringLiteral("▼"), QStringLiteral("Move the selected track down"),
           QStringLiteral("next-down"))
        ->setFixedWidth(30);
    button("ButtonPlayDel1", QStringLiteral("Del"), QStringLiteral("Delete the selected track"),
           QStringLiteral("next-delete"))
        ->setFixedWidth(40);
    button("SpeedButton8", QStringLiteral("<<<-----"),
           QStringLiteral("Moves the selected song from the right window to the play list"),
           QStringLiteral("next-insert"));
}

void ProgramPanel::Send(const QString& verb, const QString& argument) {
    m_client.Send(verb, argument, [panel = QPointer<ProgramPanel>(this)](const Result&) {
        if (panel) Q_EMIT panel->changed();
    });
}

void ProgramPanel::Redraw(const ProgramState& state) {
    m_programName->setText(state.programName);
    m_programName->setToolTip(state.programName);
    m_span->setText(state.span);
    m_tracksToPlay->setText(state.tracksToPlay);
    m_random->setChecked(state.randomPlay);
    for (int n = 1; n <= int(m_next.size()) && n <= state.nextTracks.size(); ++n) {
        ClickableLabel* label = m_next[n - 1];
        // The core separates the three lines with a lone CR.
        QString text = state.nextTracks[n - 1];
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        label->setText(text);
        const QColor background = QtColour(state.nextColours[n - 1]);
        if (label->palette().color(QPalette::Window) != background) {
            QPalette p = label->palette();
            p.setColor(QPalette::Window, background);
            label->setPalette(p);
        }
    }
}
