#include "ui/options_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/options_state.h"
#include "app/station_client.h"
#include "ui/operator_messages.h"
#include "ui/streams_page.h"

namespace {

void SetIfOther(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) edit->setText(text);
}

void SetIfOther(QComboBox* combo, const QString& text) {
    if (combo->currentText() != text) combo->setEditText(text);
}

// A check's stored value.
QString Flag(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

bool IsOn(const OptionsState& state, const char* key) {
    return state.values.value(QLatin1String(key)) == u"1";
}

QLabel* Caption(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

}  // namespace

OptionsDialog::OptionsDialog(StationClient& client, QWidget* parent)
    : QDialog(parent, Qt::Tool),
      m_client(client),
      m_playerPath(Edit(QStringLiteral("EditWinAmpPath1"))) {
    setObjectName(QStringLiteral("TFormOptions1"));
    setWindowTitle(QStringLiteral("Options"));
    setModal(true);
    QHBoxLayout* pathRow = BuildPlayerPathRow();
    QGroupBox* spots = BuildSpotsGroup();
    QGroupBox* shutDown = BuildShutDownGroup();
    BuildWindowLayoutChecks();
    BuildNumberEdits();
    BuildGreeklishCheck();
    QGroupBox* avi = BuildAviGroup();
    BuildIntroAndSpotEvery();
    BuildAirEdits();
    m_streams = new StreamsPage(m_client, this);
    m_wavForTime = Check(QStringLiteral("CheckBox1"), QStringLiteral("Wav/Mp3 for time"));
    m_wavForTime->setVisible(false);
    QPushButton* ok = BuildOkButton();
    LayOut(pathRow, spots, shutDown, avi, ok);
    m_wavForTime->setChecked(true);  // never shown, always ticked: the hour is spoken
}

void OptionsDialog::SetOption(const QString& key, const QString& value) {
    m_client.Send(QStringLiteral("option"), key + QLatin1Char(' ') + value);
}

void OptionsDialog::ConnectCheck(QCheckBox* box, const QString& key) {
    connect(box, &QCheckBox::clicked, this,
            [this, key](bool checked) { SetOption(key, Flag(checked)); });
}

void OptionsDialog::ConnectEdit(QLineEdit* edit, const QString& key) {
    connect(edit, &QLineEdit::textEdited, this,
            [this, key](const QString& text) { SetOption(key, text); });
}

QHBoxLayout* OptionsDialog::BuildPlayerPathRow() {
    m_playerPath->setMaximumWidth(QWIDGETSIZE_MAX);
    m_playerPath->setMinimumWidth(260);
    connect(m_playerPath, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_drawing) SetOption(QStringLiteral("WinAmpPath"), text);
    });
    auto* browse = new QPushButton(QStringLiteral("Browse..."), this);
    browse->setObjectName(QStringLiteral("ButtonWinAmp2"));
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("WinAmp Path"),
                                                          QFileInfo(m_playerPath->text()).path());
        if (!file.isEmpty()) m_playerPath->setText(file);  // the box's change stores it
    });
    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(m_playerPath, 1);
    pathRow->addWidget(browse);
    return pathRow;
}

QGroupBox* OptionsDialog::BuildSpotsGroup() {
    auto* spots = new QGroupBox(QStringLiteral("Spots"), this);
    spots->setObjectName(QStringLiteral("GroupBoxSpots"));
    auto* spotsLayout = new QHBoxLayout(spots);
    const struct {
        const char* name;
        const char* caption;
        bool enabled;
    } radios[4] = {{"RadioButtonJust1", "Ακριβώς", true},
                   {"RadioButtonBest1", "+-", false},
                   {"RadioButtonAfter2", "Μετά", false},
                   {"RadioOffSpots1", "OFF", true}};
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(radios[i].caption), spots);
        radio->setObjectName(QLatin1String(radios[i].name));
        radio->setEnabled(radios[i].enabled);
        // The stored spot mode is the radio's place, 1 to 4.
        connect(radio, &QRadioButton::clicked, this,
                [this, i] { SetOption(QStringLiteral("HowToPlaySpots"), QString::number(i + 1)); });
        spotsLayout->addWidget(radio);
        m_spotRadios[i] = radio;
    }
    return spots;
}

QGroupBox* OptionsDialog::BuildShutDownGroup() {
    auto* shutDown = new QGroupBox(QStringLiteral("Shut Down Computer at"), this);
    shutDown->setObjectName(QStringLiteral("GroupBoxShutDown"));
    m_shutDown = new QCheckBox(shutDown);
    m_shutDown->setObjectName(QStringLiteral("CheckBoxShutDown1"));
    ConnectCheck(m_shutDown, QStringLiteral("ShutDown"));
    BuildShutDownTime(shutDown);
    auto* shutDownLayout = new QHBoxLayout(shutDown);
    shutDownLayout->addWidget(m_shutDown);
    shutDownLayout->addWidget(m_shutDownHour);
    shutDownLayout->addWidget(new QLabel(QStringLiteral(":"), shutDown));
    shutDownLayout->addWidget(m_shutDownMin);
    shutDownLayout->addStretch();
    return shutDown;
}

void OptionsDialog::BuildShutDownTime(QGroupBox* shutDown) {
    m_shutDownHour = new QComboBox(shutDown);
    m_shutDownHour->setObjectName(QStringLiteral("ComboBoxHourShutDown1"));
    m_shutDownMin = new QComboBox(shutDown);
    m_shutDownMin->setObjectName(QStringLiteral("ComboBoxMinShutDown1"));
    for (int h = 0; h < 24; ++h)
        m_shutDownHour->addItem(QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0')));
    for (int m = 0; m < 60; m += 5)
        m_shutDownMin->addItem(QStringLiteral("%1").arg(m, 2, 10, QLatin1Char('0')));
    for (QComboBox* combo : {m_shutDownHour, m_shutDownMin}) {
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
    }
    connect(m_shutDownHour, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (m_drawing) return;
        // An emptied box is the operator on the way to typing another hour.
        m_client.Send(QStringLiteral("option"), QStringLiteral("ShutDownHour ") + text,
                      [this, text](const Result& done) {
                          if (!text.isEmpty()) ShowError(this, done.message());
                      });
    });
    connect(m_shutDownMin, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!m_drawing) SetOption(QStringLiteral("ShutDownMin"), text);
    });
}

void OptionsDialog::BuildWindowLayoutChecks() {
    m_lock = Check(QStringLiteral("CheckBoxLockPrograms1"), QStringLiteral("Lock Programs"));
    connect(m_lock, &QCheckBox::clicked, this, [this](bool checked) {
        m_client.Send(QStringLiteral("lock-programs"),
                      checked ? QStringLiteral("on") : QStringLiteral("off"));
    });
    m_simplify = Check(QStringLiteral("CheckBoxSymplifyPlayer"), QStringLiteral("Simplify Player"));
    ConnectCheck(m_simplify, QStringLiteral("SimplifyPlayer"));
}

void OptionsDialog::BuildNumberEdits() {
    m_waitSec = Edit(QStringLiteral("EditWaitSecBeg"));
    ConnectEdit(m_waitSec, QStringLiteral("WaitSecInBeggining"));
    m_fadeStep = Edit(QStringLiteral("EditHowFastFadeOnSpots"));
    ConnectEdit(m_fadeStep, QStringLiteral("HowFastFadeOnSpots"));
}

void OptionsDialog::BuildGreeklishCheck() {
    m_greeklish =
        Check(QStringLiteral("CheckBoxGreekLishSearch"), QStringLiteral("Enable GreekLish Search"));
    ConnectCheck(m_greeklish, QStringLiteral("GreeklishSearch"));
}

QGroupBox* OptionsDialog::BuildAviGroup() {
    auto* avi = new QGroupBox(QStringLiteral("Avi/Message"), this);
    avi->setObjectName(QStringLiteral("GroupBoxAviMessage"));
    m_showAvi = new QRadioButton(QStringLiteral("Show Avi"), avi);
    m_showAvi->setObjectName(QStringLiteral("RadioButtonShowAvi"));
    m_showMessage = new QRadioButton(QStringLiteral("Show Message"), avi);
    m_showMessage->setObjectName(QStringLiteral("RadioButtonShowMessage"));
    for (QRadioButton* radio : {m_showAvi, m_showMessage}) {
        connect(radio, &QRadioButton::clicked, this, [this] {
            SetOption(QStringLiteral("AviOrMessage"), Flag(m_showAvi->isChecked()));
        });
    }
    auto* aviLayout = new QHBoxLayout(avi);
    aviLayout->addWidget(m_showAvi);
    aviLayout->addWidget(m_showMessage);
    return avi;
}

void OptionsDialog::BuildIntroAndSpotEvery() {
    m_skipIntro = Check(QStringLiteral("CheckBoxSkipIntro"), QStringLiteral("Skip Intro"));
    ConnectCheck(m_skipIntro, QStringLiteral("SkipIntro"));
    m_skipIntroSec = Edit(QStringLiteral("EditSkipIntroSec"));
    ConnectEdit(m_skipIntroSec, QStringLiteral("SkipIntroSec"));
    m_oneSpot =
        Check(QStringLiteral("CheckBoxPlayOnlyOneSpot"), QStringLiteral("Play a spot every"));
    ConnectCheck(m_oneSpot, QStringLiteral("PlayOnlyOneSpot"));
    m_spotEvery = Edit(QStringLiteral("EditPlaySpotEvery"));
    ConnectEdit(m_spotEvery, QStringLiteral("PlaySpotEvery"));
    m_levelTracks = Check(QStringLiteral("CheckBoxLevelTracks"), QStringLiteral("Level tracks to"));
    ConnectCheck(m_levelTracks, QStringLiteral("LevelTracks"));
    m_loudnessTarget = Edit(QStringLiteral("EditLoudnessTarget"));
    ConnectEdit(m_loudnessTarget, QStringLiteral("LoudnessTarget"));
    m_smartMixing = Check(QStringLiteral("CheckBoxSmartMixing"),
                          QStringLiteral("Mix where the sound of a track starts and ends"));
    ConnectCheck(m_smartMixing, QStringLiteral("SmartMixing"));
}

void OptionsDialog::BuildAirEdits() {
    m_silenceSeconds = Edit(QStringLiteral("EditSilenceSeconds"));
    ConnectEdit(m_silenceSeconds, QStringLiteral("SilenceSeconds"));
    m_silenceThreshold = Edit(QStringLiteral("EditSilenceThreshold"));
    ConnectEdit(m_silenceThreshold, QStringLiteral("SilenceThreshold"));
    m_emergencyList = Edit(QStringLiteral("EditEmergencyList"));
    m_emergencyList->setMaximumWidth(QWIDGETSIZE_MAX);
    ConnectEdit(m_emergencyList, QStringLiteral("EmergencyList"));
    m_monitorSource = Edit(QStringLiteral("EditMonitorSource"));
    m_monitorSource->setMaximumWidth(QWIDGETSIZE_MAX);
    m_monitorSource->setPlaceholderText(QStringLiteral("the default output's monitor"));
    m_monitorSource->setToolTip(QStringLiteral("Read at the next start"));
    ConnectEdit(m_monitorSource, QStringLiteral("MonitorSource"));
}

int OptionsDialog::LayOutAirRows(QGridLayout* grid, int row) {
    grid->addWidget(
        Caption(QStringLiteral("LabelSilenceSeconds"), QStringLiteral("Dead air after"), this), row,
        0);
    auto* silence = new QHBoxLayout;
    silence->addWidget(m_silenceSeconds);
    silence->addWidget(
        Caption(QStringLiteral("LabelSilenceThreshold"), QStringLiteral("sec at or below"), this));
    silence->addWidget(m_silenceThreshold);
    silence->addWidget(Caption(QStringLiteral("LabelSilenceUnit"), QStringLiteral("dBFS"), this));
    silence->addStretch();
    grid->addLayout(silence, row++, 1, 1, 3);
    grid->addWidget(
        Caption(QStringLiteral("LabelEmergencyList"), QStringLiteral("Emergency list"), this), row,
        0);
    grid->addWidget(m_emergencyList, row++, 1, 1, 3);
    grid->addWidget(
        Caption(QStringLiteral("LabelMonitorSource"), QStringLiteral("Listen to"), this), row, 0);
    grid->addWidget(m_monitorSource, row++, 1, 1, 3);
    return row;
}

QPushButton* OptionsDialog::BuildOkButton() {
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Button1"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    return ok;
}

void OptionsDialog::LayOut(QHBoxLayout* pathRow, QGroupBox* spots, QGroupBox* shutDown,
                           QGroupBox* avi, QPushButton* ok) {
    // The general settings on their page, the streams on theirs, OK under both.
    auto* general = new QWidget(this);
    general->setObjectName(QStringLiteral("TabSheetGeneral"));
    auto* pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("PageControlOptions"));
    pages->addTab(general, QStringLiteral("General"));
    pages->addTab(m_streams, QStringLiteral("Streams"));
    auto* okRow = new QHBoxLayout;
    okRow->addStretch();
    okRow->addWidget(ok);
    auto* whole = new QVBoxLayout(this);
    whole->addWidget(pages);
    whole->addLayout(okRow);
    auto* grid = new QGridLayout(general);
    int row = 0;
    grid->addWidget(Caption(QStringLiteral("LabelWinAmpPath"), QStringLiteral("WinAmp Path"), this),
                    row, 0);
    grid->addLayout(pathRow, row++, 1, 1, 3);
    grid->addWidget(spots, row, 0, 1, 2);
    grid->addWidget(shutDown, row++, 2, 1, 2);
    grid->addWidget(m_lock, row, 0, 1, 2);
    grid->addWidget(m_simplify, row++, 2, 1, 2);
    row = LayOutNumberRows(grid, row);
    grid->addWidget(m_greeklish, row, 0, 1, 2);
    grid->addWidget(avi, row++, 2, 1, 2);
    row = LayOutIntroAndSpotRows(grid, row);
    row = LayOutAirRows(grid, row);
    grid->addWidget(m_wavForTime, row, 0);
    grid->setColumnStretch(1, 1);
}

int OptionsDialog::LayOutNumberRows(QGridLayout* grid, int row) {
    grid->addWidget(Caption(QStringLiteral("LabelWaitSecBeg"),
                            QStringLiteral("Wait after Starting the program"), this),
                    row, 0, 1, 2);
    grid->addWidget(m_waitSec, row, 2);
    grid->addWidget(
        Caption(QStringLiteral("LabelWaitSecUnit"), QStringLiteral("sec for initialization"), this),
        row++, 3);
    grid->addWidget(Caption(QStringLiteral("LabelHowFastFadeOnSpots"),
                            QStringLiteral("Step in Fade (fast =30) (slow=5)"), this),
                    row, 0, 1, 2);
    grid->addWidget(m_fadeStep, row++, 2);
    return row;
}

int OptionsDialog::LayOutIntroAndSpotRows(QGridLayout* grid, int row) {
    grid->addWidget(m_skipIntro, row, 0, 1, 2);
    grid->addWidget(m_skipIntroSec, row, 2);
    grid->addWidget(Caption(QStringLiteral("LabelSkipIntroSec"), QStringLiteral("sec"), this),
                    row++, 3);
    grid->addWidget(m_oneSpot, row, 0, 1, 2);
    grid->addWidget(m_spotEvery, row, 2);
    grid->addWidget(Caption(QStringLiteral("LabelPlaySpotEvery"), QStringLiteral("songs"), this),
                    row++, 3);
    grid->addWidget(m_levelTracks, row, 0, 1, 2);
    grid->addWidget(m_loudnessTarget, row, 2);
    grid->addWidget(Caption(QStringLiteral("LabelLoudnessTarget"), QStringLiteral("LUFS"), this),
                    row++, 3);
    grid->addWidget(m_smartMixing, row++, 0, 1, 4);
    return row;
}

QCheckBox* OptionsDialog::Check(const QString& name, const QString& caption) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(name);
    return box;
}

QLineEdit* OptionsDialog::Edit(const QString& name) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(name);
    edit->setMaximumWidth(80);
    return edit;
}

void OptionsDialog::Load(const OptionsState& state) {
    m_drawing = true;
    const auto value = [&state](const char* key) { return state.values.value(QLatin1String(key)); };
    SetIfOther(m_playerPath, value("WinAmpPath"));
    SetIfOther(m_shutDownHour, value("ShutDownHour"));
    SetIfOther(m_shutDownMin, value("ShutDownMin"));
    SetIfOther(m_waitSec, value("WaitSecInBeggining"));
    SetIfOther(m_fadeStep, value("HowFastFadeOnSpots"));
    SetIfOther(m_skipIntroSec, value("SkipIntroSec"));
    SetIfOther(m_spotEvery, value("PlaySpotEvery"));
    SetIfOther(m_loudnessTarget, value("LoudnessTarget"));
    SetIfOther(m_silenceSeconds, value("SilenceSeconds"));
    SetIfOther(m_silenceThreshold, value("SilenceThreshold"));
    SetIfOther(m_emergencyList, value("EmergencyList"));
    SetIfOther(m_monitorSource, value("MonitorSource"));
    m_streams->Load(state);
    m_drawing = false;
    Redraw(state);
}

void OptionsDialog::Redraw(const OptionsState& state) {
    if (state.values.isEmpty()) return;  // nothing published yet
    // Any other stored mode plays as "Ακριβώς" and shows as it.
    const int mode = state.values.value(QStringLiteral("HowToPlaySpots")).toInt();
    m_spotRadios[mode >= 1 && mode <= 4 ? mode - 1 : 0]->setChecked(true);
    m_shutDown->setChecked(IsOn(state, "ShutDown"));
    m_lock->setChecked(state.lockPrograms);
    m_simplify->setChecked(state.simplifyPlayer);
    m_greeklish->setChecked(IsOn(state, "GreeklishSearch"));
    (state.showAvi ? m_showAvi : m_showMessage)->setChecked(true);
    m_skipIntro->setChecked(IsOn(state, "SkipIntro"));
    m_skipIntroSec->setEnabled(IsOn(state, "SkipIntro"));
    m_oneSpot->setChecked(IsOn(state, "PlayOnlyOneSpot"));
    m_levelTracks->setChecked(IsOn(state, "LevelTracks"));
    m_loudnessTarget->setEnabled(IsOn(state, "LevelTracks"));
    m_smartMixing->setChecked(IsOn(state, "SmartMixing"));
}
