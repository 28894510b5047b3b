#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;
class StationClient;
class StreamsPage;
struct OptionsState;

/// The options dialog `TFormOptions1` ("Options", a tool window, shown modally): each
/// control sends its stored setting to the core by its key ("option KEY VALUE", the lock
/// "lock-programs"). Every change takes effect at once; "OK" and the close box both just
/// close it. The boxes the operator types into keep what was typed (a number that is no
/// number stays in its box while its setting takes the default).
class OptionsDialog final : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(StationClient& client, QWidget* parent);
    /// Copies every setting into the controls, the typed boxes included: once, at the first
    /// showing of the window after the station's start.
    void Load(const OptionsState& state);
    /// The checks and radio buttons as the settings now stand.
    void Redraw(const OptionsState& state);

private:
    QHBoxLayout* BuildPlayerPathRow();
    QGroupBox* BuildSpotsGroup();
    QGroupBox* BuildShutDownGroup();
    void BuildShutDownTime(QGroupBox* shutDown);
    void BuildWindowLayoutChecks();
    void BuildNumberEdits();
    void BuildGreeklishCheck();
    QGroupBox* BuildAviGroup();
    void BuildIntroAndSpotEvery();
    QPushButton* BuildOkButton();
    void LayOut(QHBoxLayout* pathRow, QGroupBox* spots, QGroupBox* shutDown, QGroupBox* avi,
                QPushButton* ok);
    int LayOutNumberRows(QGridLayout* grid, int row);
    int LayOutIntroAndSpotRows(QGridLayout* grid, int row);
    /// The dead-air alarm and what the station listens to.
    void BuildAirEdits();
    int LayOutAirRows(QGridLayout* grid, int row);
    QCheckBox* Check(const QString& name, const QString& caption);
    QLineEdit* Edit(const QString& name);
    void SetOption(const QString& key, const QString& value);
    void ConnectCheck(QCheckBox* box, const QString& key);
    void ConnectEdit(QLineEdit* edit, const QString& key);

    StationClient& m_client;
    bool m_drawing = false;
    QLineEdit* m_playerPath;
    QRadioButton* m_spotRadios[4] = {};
    QCheckBox* m_shutDown = nullptr;
    QComboBox* m_shutDownHour = nullptr;
    QComboBox* m_shutDownMin = nullptr;
    QCheckBox* m_lock = nullptr;
    QCheckBox* m_simplify = nullptr;
    QLineEdit* m_waitSec = nullptr;
    QLineEdit* m_fadeStep = nullptr;
    QCheckBox* m_greeklish = nullptr;
    QRadioButton* m_showAvi = nullptr;
    QRadioButton* m_showMessage = nullptr;
    QCheckBox* m_skipIntro = nullptr;
    QLineEdit* m_skipIntroSec = nullptr;
    QCheckBox* m_oneSpot = nullptr;
    QCheckBox* m_levelTracks = nullptr;
    QLineEdit* m_loudnessTarget = nullptr;
    QCheckBox* m_smartMixing = nullptr;
    QLineEdit* m_spotEvery = nullptr;
    QCheckBox* m_wavForTime = nullptr;
    QLineEdit* m_silenceSeconds = nullptr;
    QLineEdit* m_silenceThreshold = nullptr;
    QLineEdit* m_emergencyList = nullptr;
    QLineEdit* m_monitorSource = nullptr;
    StreamsPage* m_streams = nullptr;
};
