#pragma once

#include <QDialog>

class Options;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLineEdit;
class QPushButton;
class QRadioButton;

/// The options dialog `TFormOptions1` ("Options", a tool window, shown modally): a view
/// of the Options model. Every change takes effect at once; "OK" and the close box
/// both just close it.
class OptionsDialog final : public QDialog {
    Q_OBJECT
public:
    OptionsDialog(Options& options, QWidget* parent);
    /// Copies the model's controls into the widgets.
    void Redraw();

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
    QCheckBox* Check(const QString& name, const QString& caption);
    QLineEdit* Edit(const QString& name);

    Options& m_options;
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
    QLineEdit* m_spotEvery = nullptr;
    QCheckBox* m_wavForTime = nullptr;
};
