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
#include <QVBoxLayout>

#include "app/options.h"
#include "ui/operator_messages.h"

namespace {

void SetIfOther(QLineEdit* edit, const QString& text) {
    if (edit->text() != text) edit->setText(text);
}

void SetIfOther(QComboBox* combo, const QString& text) {
    if (combo->currentText() != text) combo->setEditText(text);
}

QLabel* Caption(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

}  // namespace

OptionsDialog::OptionsDialog(Options& options, QWidget* parent)
    : QDialog(parent, Qt::Tool),
      m_options(options),
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
    m_wavForTime = Check(QStringLiteral("CheckBox1"), QStringLiteral("Wav/Mp3 for time"));
    m_wavForTime->setVisible(false);
    QPushButton* ok = BuildOkButton();
    LayOut(pathRow, spots, shutDown, avi, ok);
    Redraw();
}

QHBoxLayout* OptionsDialog::BuildPlayerPathRow() {
    m_playerPath->setMaximumWidth(QWIDGETSIZE_MAX);
    m_playerPath->setMinimumWidth(260);
    connect(m_playerPath, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!m_drawing) m_options.EditWinAmpPath1Change(text);
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
        Options::SpotMode mode;
        bool enabled;
    } radios[4] = {{"RadioButtonJust1", "Ακριβώς", Options::Just, true},
                   {"RadioButtonBest1", "+-", Options::Best, false},
                   {"RadioButtonAfter2", "Μετά", Options::After, false},
                   {"RadioOffSpots1", "OFF", Options::Off, true}};
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(radios[i].caption), spots);
        radio->setObjectName(QLatin1String(radios[i].name));
        radio->setEnabled(radios[i].enabled);
        const Options::SpotMode mode = radios[i].mode;
        connect(radio, &QRadioButton::clicked, this,
                [this, mode] { m_options.SpotRadioClick(mode); });
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
    connect(m_shutDown, &QCheckBox::clicked, this,
            [this](bool checked) { m_options.CheckBoxShutDown1Click(checked); });
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
        const QString message = m_options.ComboBoxHourShutDown1Change(text);
        if (!text.isEmpty()) ShowError(this, message);
    });
    connect(m_shutDownMin, &QComboBox::editTextChanged, this, [this](const QString& text) {
        if (!m_drawing) m_options.ComboBoxMinShutDown1Change(text);
    });
}

void OptionsDialog::BuildWindowLayoutChecks() {
    m_lock = Check(QStringLiteral("CheckBoxLockPrograms1"), QStringLiteral("Lock Programs"));
    connect(m_lock, &QCheckBox::clicked, this,
            [this](bool checked) { m_options.CheckBoxLockPrograms1Click(checked); });
    m_simplify = Check(QStringLiteral("CheckBoxSymplifyPlayer"), QStringLiteral("Simplify Player"));
    connect(m_simplify, &QCheckBox::clicked, this,
            [this](bool checked) { m_options.CheckBoxSymplifyPlayerClick(checked); });
}

void OptionsDialog::BuildNumberEdits() {
    m_waitSec = Edit(QStringLiteral("EditWaitSecBeg"));
    connect(m_waitSec, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_options.EditWaitSecBegChange(text); });
    m_fadeStep = Edit(QStringLiteral("EditHowFastFadeOnSpots"));
    connect(m_fadeStep, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_options.EditHowFastFadeOnSpotsChange(text); });
}

void OptionsDialog::BuildGreeklishCheck() {
    m_greeklish =
        Check(QStringLiteral("CheckBoxGreekLishSearch"), QStringLiteral("Enable GreekLish Search"));
    connect(m_greeklish, &QCheckBox::clicked, this,
            [this](bool checked) { m_options.CheckBoxGreekLishSearchClick(checked); });
}

QGroupBox* OptionsDialog::BuildAviGroup() {
    auto* avi = new QGroupBox(QStringLiteral("Avi/Message"), this);
    avi->setObjectName(QStringLiteral("GroupBoxAviMessage"));
    m_showAvi = new QRadioButton(QStringLiteral("Show Avi"), avi);
    m_showAvi->setObjectName(QStringLiteral("RadioButtonShowAvi"));
    m_showMessage = new QRadioButton(QStringLiteral("Show Message"), avi);
    m_showMessage->setObjectName(QStringLiteral("RadioButtonShowMessage"));
    connect(m_showAvi, &QRadioButton::clicked, this,
            [this] { m_options.AviOrMessageClick(m_showAvi->isChecked()); });
    connect(m_showMessage, &QRadioButton::clicked, this,
            [this] { m_options.AviOrMessageClick(m_showAvi->isChecked()); });
    auto* aviLayout = new QHBoxLayout(avi);
    aviLayout->addWidget(m_showAvi);
    aviLayout->addWidget(m_showMessage);
    return avi;
}

void OptionsDialog::BuildIntroAndSpotEvery() {
    m_skipIntro = Check(QStringLiteral("CheckBoxSkipIntro"), QStringLiteral("Skip Intro"));
    connect(m_skipIntro, &QCheckBox::clicked, this, [this](bool checked) {
        m_options.CheckBoxSkipIntroClick(checked);
        Redraw();
    });
    m_skipIntroSec = Edit(QStringLiteral("EditSkipIntroSec"));
    connect(m_skipIntroSec, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_options.EditSkipIntroSecChange(text); });
    m_oneSpot =
        Check(QStringLiteral("CheckBoxPlayOnlyOneSpot"), QStringLiteral("Play a spot every"));
    connect(m_oneSpot, &QCheckBox::clicked, this,
            [this](bool checked) { m_options.CheckBoxPlayOnlyOneSpotClick(checked); });
    m_spotEvery = Edit(QStringLiteral("EditPlaySpotEvery"));
    connect(m_spotEvery, &QLineEdit::textEdited, this,
            [this](const QString& text) { m_options.EditPlaySpotEveryChange(text); });
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
    auto* grid = new QGridLayout(this);
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
    grid->addWidget(m_wavForTime, row, 0);
    grid->addWidget(ok, row, 3);
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

void OptionsDialog::Redraw() {
    m_drawing = true;
    const Options::Controls& c = m_options.State();
    SetIfOther(m_playerPath, c.EditWinAmpPath1);
    m_spotRadios[int(c.SpotRadio) - 1]->setChecked(true);
    m_shutDown->setChecked(c.CheckBoxShutDown1);
    SetIfOther(m_shutDownHour, c.ComboBoxHourShutDown1);
    SetIfOther(m_shutDownMin, c.ComboBoxMinShutDown1);
    m_lock->setChecked(c.CheckBoxLockPrograms1);
    m_simplify->setChecked(c.CheckBoxSymplifyPlayer);
    SetIfOther(m_waitSec, c.EditWaitSecBeg);
    SetIfOther(m_fadeStep, c.EditHowFastFadeOnSpots);
    m_greeklish->setChecked(c.CheckBoxGreekLishSearch);
    (c.RadioButtonShowAvi ? m_showAvi : m_showMessage)->setChecked(true);
    m_skipIntro->setChecked(c.CheckBoxSkipIntro);
    SetIfOther(m_skipIntroSec, c.EditSkipIntroSec);
    m_skipIntroSec->setEnabled(c.EditSkipIntroSecEnabled);
    m_oneSpot->setChecked(c.CheckBoxPlayOnlyOneSpot);
    SetIfOther(m_spotEvery, c.EditPlaySpotEvery);
    m_wavForTime->setChecked(c.CheckBox1);
    m_drawing = false;
}
