#include "ui/player_panel.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSlider>
#include <QStyle>

#include "app/station_client.h"
#include "app/station_state.h"
#include "ui/player_geometry.h"
#include "ui/pointer_widgets.h"

namespace {

// The level boxes as the state lists them and the "level-box" command numbers them.
enum class Level { EditFadeOut0, EditFadeIn0, EditFadeOut1, EditFadeIn1, EditMixingTime };
constexpr int kLevelBoxes = 5;

// The position bar and its knob, in the panel's pixels. A knob held at its leftmost
// place (4) has its centre on the bar's start.
constexpr int kBarLeft = 10;
constexpr int kBarTop = 36;
constexpr int kBarWidth = 200;
constexpr int kKnobWidth = 12;

// Column of the mixing boxes, fade pairs and cue memories, right of the two volume groups.
constexpr int kRightColumn = 322;

// A box the operator is typing into keeps what is typed: a state may come from before the
// last key.
void SetTextIfOther(QLineEdit* edit, const QString& text) {
    if (edit->text() != text && !edit->hasFocus()) edit->setText(text);
}

// A bar under the operator's hand stays where the hand holds it.
void SetValueIfFree(QSlider* slider, int value) {
    if (!slider->isSliderDown()) slider->setValue(value);
}

QString OnOff(bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); }

}  // namespace

PlayerPanel::PlayerPanel(StationClient& client, QWidget* parent)
    : QFrame(parent), m_client(client) {
    setObjectName(QStringLiteral("PanelPlayControls"));
    setFrameShape(QFrame::StyledPanel);
    setFixedSize(432, 188);
    BuildPosition();
    BuildTransport();
    BuildBars();
    BuildRightColumn();
    BuildLineIn();
    m_client.Send(QStringLiteral("knob-geometry"),
                  QStringLiteral("%1 %2 %3").arg(kBarLeft).arg(kBarWidth).arg(kKnobWidth));
    ApplyLayout(false);
    Redraw(m_client.State());
}

void PlayerPanel::Send(const QString& verb, const QString& argument) {
    m_client.Send(verb, argument, [panel = QPointer<PlayerPanel>(this)](const Result&) {
        if (panel) Q_EMIT panel->changed();
    });
}

QPushButton* PlayerPanel::Button(const QString& name, const QString& hint, QWidget* parent) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setToolTip(hint);
    button->setFocusPolicy(Qt::NoFocus);  // the four window keys stay the window's
    return button;
}

QLineEdit* PlayerPanel::Edit(const QString& name, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setAlignment(Qt::AlignCenter);
    return edit;
}

void PlayerPanel::BuildPosition() {
    auto* times = new QFrame(this);
    times->setObjectName(QStringLiteral("PanelTrackSec"));
    times->setFrameShape(QFrame::Panel);
    times->setFrameShadow(QFrame::Sunken);
    times->setGeometry(kBarLeft, 4, kBarWidth, 26);
    QFont timeFont = font();
    timeFont.setBold(true);
    timeFont.setPointSize(11);
    auto label = [&](const QString& name, int left, int width, Qt::Alignment align) {
        auto* l = new QLabel(times);
        l->setObjectName(name);
        l->setFont(timeFont);
        l->setAlignment(align | Qt::AlignVCenter);
        l->setGeometry(left, 2, width, 22);
        return l;
    };
    m_pausePlay = label(QStringLiteral("LabelPausePlay1"), 4, 20, Qt::AlignLeft);
    m_playTime = label(QStringLiteral("LabelPlayTime"), 24, 56, Qt::AlignLeft);
    m_length = label(QStringLiteral("LabelLenghtOfTrack"), 80, 56, Qt::AlignHCenter);
    m_remaining = label(QStringLiteral("LabelRemainingTime"), 136, 60, Qt::AlignRight);
    m_playTime->setToolTip(QStringLiteral("Position"));
    m_length->setToolTip(QStringLiteral("Length"));
    m_remaining->setToolTip(QStringLiteral("Remaining"));

    m_secBar = new QFrame(this);
    m_secBar->setObjectName(QStringLiteral("PanelSecBar"));
    m_secBar->setFrameShape(QFrame::Panel);
    m_secBar->setFrameShadow(QFrame::Sunken);
    m_secBar->setGeometry(kBarLeft, kBarTop, kBarWidth, 10);

    m_knob = new KnobButton(this);
    m_knob->setObjectName(QStringLiteral("BitBtnMoveBar"));
    m_knob->setFocusPolicy(Qt::NoFocus);
    m_knob->setGeometry(kBarLeft - kKnobWidth / 2, kBarTop - 4, kKnobWidth, 18);
    connect(m_knob, &KnobButton::pressedAt, this, [this](bool left, int x) {
        Send(QStringLiteral("knob-press"),
             (left ? QStringLiteral("left ") : QStringLiteral("right ")) + QString::number(x));
    });
    connect(m_knob, &KnobButton::movedTo, this,
            [this](int x) { Send(QStringLiteral("knob-move"), QString::number(x)); });
    connect(m_knob, &KnobButton::releasedAt, this,
            [this] { Send(QStringLiteral("knob-release")); });

    m_knobTime = new QLabel(this);
    m_knobTime->setObjectName(QStringLiteral("LabelBarPosInSec"));
    m_knobTime->setAutoFillBackground(true);
    m_knobTime->setFrameShape(QFrame::Box);
    m_knobTime->setAlignment(Qt::AlignCenter);
    m_knobTime->setGeometry(kBarLeft, kBarTop - 20, 44, 18);
    m_knobTime->hide();
}

void PlayerPanel::BuildTransport() {
    QStyle* s = style();
    QPushButton* next = Button(QStringLiteral("ButtonEpomeno11"), QStringLiteral("Next"), this);
    next->setIcon(s->standardIcon(QStyle::SP_MediaSkipForward));
    connect(next, &QPushButton::clicked, this, [this] { Send(QStringLiteral("next")); });
    QPushButton* play = Button(QStringLiteral("BitBtnPlay"), QStringLiteral("Play"), this);
    play->setIcon(s->standardIcon(QStyle::SP_MediaPlay));
    connect(play, &QPushButton::clicked, this, [this] { Send(QStringLiteral("play-marked")); });
    m_pause = Button(QStringLiteral("ButtonPause20"), QStringLiteral("Pause/UnPause"), this);
    m_pause->setIcon(s->standardIcon(QStyle::SP_MediaPause));
    m_pause->setCheckable(true);
    connect(m_pause, &QPushButton::clicked, this, [this] { Send(QStringLiteral("pause")); });
    QPushButton* restart = Button(QStringLiteral("BitBtnRestart"), QStringLiteral("Restart"), this);
    restart->setIcon(s->standardIcon(QStyle::SP_MediaSkipBackward));
    connect(restart, &QPushButton::clicked, this,
            [this] { Send(QStringLiteral("restart-track")); });
    m_manual =
        Button(QStringLiteral("SpeedButtonManual1"), QStringLiteral("Manual/Auto play"), this);
    m_manual->setCheckable(true);
    connect(m_manual, &QPushButton::clicked, this,
            [this](bool down) { Send(QStringLiteral("manual"), OnOff(down)); });

    QPushButton* back =
        Button(QStringLiteral("BitBtnLeftSecTrack"), QStringLiteral("Jump seconds backward"), this);
    back->setIcon(s->standardIcon(QStyle::SP_MediaSeekBackward));
    back->setGeometry(kBarLeft, 54, 26, 22);
    connect(back, &QPushButton::clicked, this, [this] { Send(QStringLiteral("jump-back")); });
    m_jumpSec = Edit(QStringLiteral("Editsec1"), this);
    m_jumpSec->setGeometry(kBarLeft + 28, 54, 34, 22);
    m_jumpSec->setToolTip(QStringLiteral("Seconds of a jump"));
    connect(m_jumpSec, &QLineEdit::textEdited, this,
            [this](const QString& text) { Send(QStringLiteral("jump-seconds"), text); });
    QPushButton* forward =
        Button(QStringLiteral("BitBtnRightSecTrack"), QStringLiteral("Jump seconds forward"), this);
    forward->setIcon(s->standardIcon(QStyle::SP_MediaSeekForward));
    forward->setGeometry(kBarLeft + 64, 54, 26, 22);
    connect(forward, &QPushButton::clicked, this, [this] { Send(QStringLiteral("jump-forward")); });

    // The hour announcement button has its place in both layouts.
    QPushButton* sayHour =
        Button(QStringLiteral("BitBtnSayHour1"), QStringLiteral("Say the hour"), this);
    sayHour->setText(QStringLiteral("Hour"));
    sayHour->resize(32, 26);
    connect(sayHour, &QPushButton::clicked, this, [this] { Send(QStringLiteral("say-hour")); });

    auto amp = [&](const QString& name, const QString& caption, int left, int index) {
        QPushButton* b = Button(name, QString(), this);
        b->setText(caption);
        b->setCheckable(true);
        b->setGeometry(left, 162, 70, 22);
        // Pressed shows the current deck; a click runs the line input's action again.
        connect(b, &QPushButton::clicked, this,
                [this, index] { Send(QStringLiteral("amp-button"), QString::number(index + 1)); });
        return b;
    };
    m_amp1 = amp(QStringLiteral("SpeedButtonAmp1"), QStringLiteral("Deck 1"), kBarLeft, 0);
    m_amp2 = amp(QStringLiteral("SpeedButtonAmp2"), QStringLiteral("Deck 2"), kBarLeft + 72, 1);
}

void PlayerPanel::BuildLineIn() {
    m_lineInButton =
        Button(QStringLiteral("ButtonOpenLineIn1"), QStringLiteral("Play Line-in"), this);
    m_lineInButton->setText(QStringLiteral("Line"));
    m_lineInButton->setCheckable(true);
    m_lineInButton->setGeometry(kBarLeft + 144, 162, 56, 22);
    connect(m_lineInButton, &QPushButton::clicked, this,
            [this](bool down) { Send(QStringLiteral("line-in"), OnOff(down)); });
    m_lineInBar = new QSlider(Qt::Vertical, this);
    m_lineInBar->setObjectName(QStringLiteral("TrackBarLineIn1"));
    m_lineInBar->setRange(0, 100);
    m_lineInBar->setInvertedAppearance(true);  // upside down like the deck bars
    m_lineInBar->setInvertedControls(true);
    m_lineInBar->setFocusPolicy(Qt::NoFocus);
    m_lineInBar->setToolTip(QStringLiteral("Line-in volume"));
    m_lineInBar->setGeometry(408, 4, 20, 156);
    connect(m_lineInBar, &QSlider::valueChanged, this, [this](int position) {
        if (!m_drawing) Send(QStringLiteral("line-in-bar"), QString::number(position));
    });
}

QSlider* PlayerPanel::VolumeBar(const QString& name, int bar, QWidget* parent) {
    auto* slider = new QSlider(Qt::Vertical, parent);
    slider->setObjectName(name);
    slider->setRange(0, 100);
    // Upside down: position 0 at the top is full volume.
    slider->setInvertedAppearance(true);
    slider->setInvertedControls(true);
    slider->setFocusPolicy(Qt::NoFocus);
    slider->setToolTip(bar == 0 ? QStringLiteral("Volume of the playing deck")
                                : QStringLiteral("Volume of the other deck"));
    connect(slider, &QSlider::valueChanged, this, [this, bar](int position) {
        if (!m_drawing)
            Send(QStringLiteral("volume-bar"), QStringLiteral("%1 %2").arg(bar + 1).arg(position));
    });
    return slider;
}

void PlayerPanel::BuildBars() {
    QStyle* s = style();
    struct Group {
        const char* box;
        const char* bar;
        const char* fadeIn;
        const char* fadeOut;
        Level inBox;
        Level outBox;
        int left;
    };
    const Group groups[2] = {
        {"GroupBox1", "TrackBarVolume0", "BitBtnFadeIn0", "BitBtnFadeOut0", Level::EditFadeIn0,
         Level::EditFadeOut0, 216},
        {"GroupBox2", "TrackBarVolume1", "BitBtnFadeIn1", "BitBtnFadeOut1", Level::EditFadeIn1,
         Level::EditFadeOut1, 268},
    };
    for (int bar = 0; bar < 2; ++bar) {
        const Group& g = groups[bar];
        auto* box = new QGroupBox(this);
        box->setObjectName(QLatin1String(g.box));
        box->setGeometry(g.left, 2, 48, 156);
        QSlider* slider = VolumeBar(QLatin1String(g.bar), bar, box);
        slider->setGeometry(24, 6, 22, 146);
        (bar == 0 ? m_bar0 : m_bar1) = slider;

        QPushButton* in = Button(QLatin1String(g.fadeIn), QStringLiteral("Fade in"), box);
        in->setIcon(s->standardIcon(QStyle::SP_ArrowUp));
        in->setGeometry(2, 6, 22, 22);
        QLineEdit* inEdit =
            Edit(bar == 0 ? QStringLiteral("EditFadeIn0") : QStringLiteral("EditFadeIn1"), box);
        inEdit->setGeometry(2, 30, 22, 20);
        inEdit->setToolTip(QStringLiteral("Top of a fade-in"));
        QLineEdit* outEdit =
            Edit(bar == 0 ? QStringLiteral("EditFadeOut0") : QStringLiteral("EditFadeOut1"), box);
        outEdit->setGeometry(2, 108, 22, 20);
        outEdit->setToolTip(QStringLiteral("Bottom of a fade-out"));
        QPushButton* out = Button(QLatin1String(g.fadeOut), QStringLiteral("Fade out"), box);
        out->setIcon(s->standardIcon(QStyle::SP_ArrowDown));
        out->setGeometry(2, 130, 22, 22);

        m_levelEdits[int(g.inBox)] = inEdit;
        m_levelEdits[int(g.outBox)] = outEdit;
        for (const auto& [edit, level] : {std::pair{inEdit, g.inBox}, {outEdit, g.outBox}}) {
            connect(edit, &QLineEdit::textEdited, this, [this, level](const QString& text) {
                Send(QStringLiteral("level-box"), QString::number(int(level) + 1) + u' ' + text);
            });
        }
        const QString deck = QString::number(bar + 1);
        connect(in, &QPushButton::clicked, this,
                [this, deck] { Send(QStringLiteral("fade-in"), deck); });
        connect(out, &QPushButton::clicked, this,
                [this, deck] { Send(QStringLiteral("fade-out"), deck); });
    }
}

void PlayerPanel::BuildRightColumn() {
    auto caption = [&](const QString& name, const QString& text, int top) {
        auto* l = new QLabel(text, this);
        l->setObjectName(name);
        l->setGeometry(kRightColumn, top, 50, 22);
    };
    caption(QStringLiteral("LabelMixingTime"), QStringLiteral("Mix sec"), 4);
    QLineEdit* mixing = Edit(QStringLiteral("EditMixingTime"), this);
    mixing->setGeometry(kRightColumn + 50, 4, 34, 22);
    mixing->setToolTip(QStringLiteral("Seconds before the end at which the next track starts"));
    m_levelEdits[int(Level::EditMixingTime)] = mixing;
    connect(mixing, &QLineEdit::textEdited, this, [this](const QString& text) {
        Send(QStringLiteral("level-box"),
             QString::number(int(Level::EditMixingTime) + 1) + u' ' + text);
    });
    caption(QStringLiteral("LabelMixingInterval"), QStringLiteral("Step ms"), 28);
    m_mixingInterval = Edit(QStringLiteral("EditMixingInterval"), this);
    m_mixingInterval->setGeometry(kRightColumn + 50, 28, 34, 22);
    m_mixingInterval->setToolTip(QStringLiteral("Milliseconds between two fade steps"));
    connect(m_mixingInterval, &QLineEdit::textEdited, this,
            [this](const QString& text) { Send(QStringLiteral("mixing-interval"), text); });

    QPushButton* in0 = Button(QStringLiteral("BitBtnFadeIn0Amp"),
                              QStringLiteral("Raise the playing deck, lower the other"), this);
    in0->setText(QStringLiteral("▲▼"));
    in0->setGeometry(kRightColumn, 54, 40, 22);
    connect(in0, &QPushButton::clicked, this, [this] { Send(QStringLiteral("crossfade"), "1"); });
    QPushButton* in1 = Button(QStringLiteral("BitBtnFadeIn1Amp"),
                              QStringLiteral("Lower the playing deck, raise the other"), this);
    in1->setText(QStringLiteral("▼▲"));
    in1->setGeometry(kRightColumn + 42, 54, 40, 22);
    connect(in1, &QPushButton::clicked, this, [this] { Send(QStringLiteral("crossfade"), "2"); });

    // The three cue memories: store (MEM n) and recall (Play MEM n), one row each.
    struct Cue {
        const char* store;
        const char* recall;
        int n;
    };
    const Cue cues[3] = {{"SpeedButton1", "SpeedButton2", 1},
                         {"SpeedButton4", "SpeedButton3", 2},
                         {"SpeedButton6", "SpeedButton5", 3}};
    for (const Cue& cue : cues) {
        const int top = 58 + cue.n * 24;
        QPushButton* store =
            Button(QLatin1String(cue.store), QStringLiteral("MEM %1").arg(cue.n), this);
        store->setText(QStringLiteral("M%1").arg(cue.n));
        store->setGeometry(kRightColumn, top, 40, 22);
        connect(store, &QPushButton::clicked, this,
                [this, n = cue.n] { Send(QStringLiteral("store-cue"), QString::number(n)); });
        QPushButton* recall =
            Button(QLatin1String(cue.recall), QStringLiteral("Play MEM %1").arg(cue.n), this);
        recall->setText(QStringLiteral("▶%1").arg(cue.n));
        recall->setGeometry(kRightColumn + 42, top, 40, 22);
        connect(recall, &QPushButton::clicked, this,
                [this, n = cue.n] { Send(QStringLiteral("recall-cue"), QString::number(n)); });
    }
}

void PlayerPanel::ApplyLayout(bool simple) {
    for (const QString& name : SimplifyHiddenControls()) {
        if (QWidget* w = findChild<QWidget*>(name)) w->setVisible(!simple);
    }
    // The captions of the mixing boxes go with their boxes.
    for (const char* name : {"LabelMixingTime", "LabelMixingInterval"}) {
        if (QWidget* w = findChild<QWidget*>(QLatin1String(name))) w->setVisible(!simple);
    }
    for (const ControlGeometry& g : PlayerGeometry(simple)) {
        QWidget* w = findChild<QWidget*>(g.name);
        if (!w) continue;
        QRect r = w->geometry();
        if (g.top) r.moveTop(*g.top);
        if (g.left) r.moveLeft(*g.left);
        if (g.width) r.setWidth(*g.width);
        if (g.height) r.setHeight(*g.height);
        w->setGeometry(r);
    }
    // Bigger buttons, bigger pictures.
    const int icon = simple ? 32 : 22;
    for (const char* name : {"ButtonEpomeno11", "BitBtnPlay", "ButtonPause20", "BitBtnRestart"}) {
        if (auto* b = findChild<QPushButton*>(QLatin1String(name))) b->setIconSize({icon, icon});
    }
}

void PlayerPanel::PlaceKnob(const StationState& state) {
    const PlayerState& player = state.player;
    m_knob->move(player.knobLeft, m_knob->y());
    m_knobTime->setVisible(player.knobLabelVisible);
    if (player.knobLabelVisible) {
        m_knobTime->setText(player.knobLabel);
        m_knobTime->move(player.knobLabelLeft, m_knobTime->y());
        m_knobTime->raise();
    }
}

void PlayerPanel::Redraw(const StationState& state) {
    m_drawing = true;
    const PlayerState& player = state.player;
    m_playTime->setText(player.playTime);
    m_length->setText(player.length);
    m_remaining->setText(player.remaining);
    m_pausePlay->setText(player.pausePlay);
    m_pause->setChecked(player.pauseDown);
    m_manual->setChecked(player.manualMode);
    m_manual->setText(player.manualCaption);
    PlaceKnob(state);

    SetValueIfFree(m_bar0, player.bar0);
    SetValueIfFree(m_bar1, player.bar1);
    m_bar0->setPageStep(player.barPageStep);
    m_bar1->setPageStep(player.barPageStep);
    m_amp1->setChecked(player.pressedAmp == 0);
    m_amp2->setChecked(player.pressedAmp == 1);
    m_lineInButton->setChecked(state.window.lineInDown);
    SetValueIfFree(m_lineInBar, state.window.lineInPosition);
    for (int i = 0; i < kLevelBoxes && i < player.levelTexts.size(); ++i)
        SetTextIfOther(m_levelEdits[i], player.levelTexts[i]);
    SetTextIfOther(m_mixingInterval, player.mixingInterval);
    SetTextIfOther(m_jumpSec, player.jumpSeconds);
    m_drawing = false;
}
