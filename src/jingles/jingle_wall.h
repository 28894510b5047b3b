#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <memory>

#include "base/result.h"
#include "base/settings_table.h"

class PlaybackEngine;
class Timer;
class TimerHost;
struct ProgramLock;

/// The jingle wall: banks of jingles under tabs, each bank the name of a stored list whose
/// tracks are its jingles, and up to 101 buttons that play the current bank's jingles on
/// the next deck over the music. The bank names are kept in the file "jingles" of the spots
/// folder, one tab a line. The every-few-songs spot plays the current bank's first entries.
class JingleWall : public QObject {
    Q_OBJECT
public:
    static constexpr int kButtonCount = 101;
    /// The tab the station starts on when a jingle is played as a spot every few songs.
    static constexpr int kEverySongsTab = 5;
    static constexpr int kJingleEndMs = 300;
    static constexpr int kJingleFadeMs = 20;

    /// listsPath and spotsPath end in a separator.
    JingleWall(const QString& listsPath, const QString& spotsPath, PlaybackEngine& engine,
               TimerHost& timers, const ProgramLock& lock);
    ~JingleWall() override;

    /// Start-up: the tabs from the banks file (eleven "J0".."J10" without one), then the
    /// first tab, or the sixth when a jingle plays as a spot every few songs, and its bank.
    /// An error names a file that could not be read; the wall is usable all the same.
    Result LoadJingleTabs(bool everySongsSpot);

    // --- the operator's commands ---
    /// TabSetJingles: shows the bank of tab `index`; nothing for a tab that is not there.
    Result SelectTab(int index);
    /// "Set Jingles...": the current tab's bank becomes the list `listName`. Refused while
    /// the programs are locked; the banks file is written first, so a failed write changes
    /// nothing.
    Result SetJingles(const QString& listName);
    /// "Clear Jingles...": the current tab becomes "J" + its index again.
    Result ClearJingles();
    /// A click on jingle button `button` of the current bank: it plays on the next deck,
    /// over the music, lowering the music while FadeJingles is on. fadeStep is the spots'
    /// fade step. Nothing for a button that is not shown. In a crossfade it starts once
    /// the crossfade is done; no track is handed over until it ends.
    void PlayJingle(int button, int fadeStep);
    /// "Stop": the jingle stops (or does not start) and the music comes back up.
    void StopJingle();
    void SetFadeJingles(bool on) { FadeJingles = on; }

    // --- what the view reads ---
    const QStringList& TabNames() const { return m_tabs; }
    int CurrentTab() const { return m_currentTab; }
    /// The lines of the current bank's list (more than there are buttons, maybe).
    const QStringList& JinglePaths() const { return m_paths; }
    /// The captions of the buttons in use: each jingle's title without its extension.
    const QStringList& ButtonCaptions() const { return m_captions; }
    /// LabelNoOfJingles: the buttons in use.
    int NoOfJingles() const { return int(m_captions.size()); }
    /// Label5: the caption of the jingle last started.
    const QString& LastJingleCaption() const { return m_lastCaption; }
    const QString& CurrentJinglePath() const { return m_currentPath; }
    /// TimerJingleEnd is watching for the end of a jingle (or a crossfade's end, for its start).
    bool JinglePlaying() const;

    /// CheckBoxFadeJingles "Fade".
    bool FadeJingles = false;
    /// FadeJingles, as the station's settings keep it.
    SettingsTable& Settings() { return m_settings; }

Q_SIGNALS:
    /// A jingle is about to be handed to the next deck.
    void JingleStarted(const QString& path);

private:
    Result BuildJingleButtons(const QString& bankName);
    Result SaveJingleBanks(const QStringList& tabs);
    void StartJingle();
    void TimerJingleEndTimer();
    /// The jingle's hold on the next deck, which keeps the queue's next track waiting.
    void HoldNextDeck(bool hold);

    QString m_listsPath;
    QString m_spotsPath;
    PlaybackEngine& m_engine;
    const ProgramLock& m_lock;
    QStringList m_tabs;
    QString m_banksUnreadable;  // why the banks file could not be read; it is then kept
    int m_currentTab = -1;
    QStringList m_paths;
    QStringList m_captions;
    QString m_lastCaption = QStringLiteral("Jingle");
    QString m_currentPath;
    int m_fadeStep = 1;
    bool m_waitingForCrossfade = false;
    std::unique_ptr<Timer> m_jingleEnd;
    SettingsTable m_settings;
};
