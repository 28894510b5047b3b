#pragma once

#include <QObject>
#include <QString>
#include <functional>

#include "spots/spot_mode.h"

class Station;

/// The options dialog ("Options") as a model: the state of each of its controls and the
/// setting each one writes, into the room that keeps it, the moment it changes; there is
/// no cancel. Typed numbers fall back to a default when they are not whole numbers,
/// except the shutdown hour, which is refused. Two check boxes switch layouts of the main
/// window: the lock layout and the simple player layout, which the view draws.
class Options : public QObject {
    Q_OBJECT
public:
    /// The radio buttons of the "Spots" frame, by the spot mode each selects.
    using SpotMode = ::SpotMode;
    static constexpr SpotMode Just = SpotMode::Just;
    static constexpr SpotMode Best = SpotMode::Best;
    static constexpr SpotMode After = SpotMode::After;
    static constexpr SpotMode Off = SpotMode::Off;

    /// What the dialog's controls show; Load fills them from the rooms that keep the settings.
    struct Controls {
        QString EditWinAmpPath1;
        SpotMode SpotRadio = Just;
        bool CheckBoxShutDown1 = false;
        QString ComboBoxHourShutDown1;
        QString ComboBoxMinShutDown1;
        bool CheckBoxLockPrograms1 = false;
        bool CheckBoxSymplifyPlayer = false;
        QString EditWaitSecBeg;
        QString EditHowFastFadeOnSpots;
        bool CheckBoxGreekLishSearch = false;
        bool RadioButtonShowAvi = false;  ///< "Show Message" is selected when this is not
        bool CheckBoxSkipIntro = false;
        QString EditSkipIntroSec;
        bool EditSkipIntroSecEnabled = false;
        bool CheckBoxPlayOnlyOneSpot = false;
        QString EditPlaySpotEvery;
        /// "Wav/Mp3 for time": never shown, always ticked; read by the hour announcement.
        bool CheckBox1 = true;
    };

    explicit Options(Station& station);

    /// Copies the settings from the rooms that keep them into the controls, as the dialog
    /// does when it is made at start-up, and applies the layouts they stand for.
    void Load();
    const Controls& State() const { return m_controls; }

    void EditWinAmpPath1Change(const QString& text);
    /// A radio button of the "Spots" frame was chosen.
    void SpotRadioClick(SpotMode mode);
    void CheckBoxShutDown1Click(bool checked);
    /// The conversion message when the text is not a whole number; the setting then
    /// keeps its value. Empty when the hour was taken.
    QString ComboBoxHourShutDown1Change(const QString& text);
    void ComboBoxMinShutDown1Change(const QString& text);
    void CheckBoxLockPrograms1Click(bool checked);
    void CheckBoxSymplifyPlayerClick(bool checked);
    void EditWaitSecBegChange(const QString& text);
    void EditHowFastFadeOnSpotsChange(const QString& text);
    void CheckBoxGreekLishSearchClick(bool checked);
    /// "Show Avi" (true) or "Show Message" (false) was chosen.
    void AviOrMessageClick(bool showAvi);
    void CheckBoxSkipIntroClick(bool checked);
    void EditSkipIntroSecChange(const QString& text);
    void CheckBoxPlayOnlyOneSpotClick(bool checked);
    void EditPlaySpotEveryChange(const QString& text);

    /// The main window's layouts as the settings now stand.
    bool LockLayout() const;
    bool SimpleLayout() const;
    bool ShowAvi() const;

Q_SIGNALS:
    /// One of the three layouts may have changed (sent once by Load too).
    void LayoutChanged();

private:
    void NotifyLayout();

    Station& m_station;
    Controls m_controls;
};

/// The message shown when a text is not a whole number: 'abc' is not a valid integer value.
QString NotAnIntegerMessage(const QString& text);
