#include "app/options.h"

#include "app/station.h"
#include "base/number_text.h"

namespace {

constexpr int kWaitSecFallback = 5;
constexpr int kFadeStepFallback = 20;
constexpr int kShutDownMinFallback = 0;
constexpr int kSkipIntroSecFallback = 5;
constexpr int kPlaySpotEveryFallback = 5;

}  // namespace

Options::Options(Station& station) : m_station(station) {}

void Options::Load() {
    const PlaybackEngine& engine = m_station.Engine();
    const SpotRunner& spots = m_station.Spots();
    const StationOptions& kept = m_station.StoredOptions();
    m_controls.EditWinAmpPath1 = engine.Players().WinAmpPath;
    m_controls.SpotRadio = spots.HowSpotsPlay();
    const AutoShutdown& shutdown = m_station.Shutdown();
    m_controls.CheckBoxShutDown1 = shutdown.ShutDown();
    m_controls.ComboBoxHourShutDown1 = QString::number(shutdown.ShutDownHour());
    m_controls.ComboBoxMinShutDown1 = QString::number(shutdown.ShutDownMin());
    m_controls.CheckBoxLockPrograms1 = m_station.Lock().LockPrograms;
    m_controls.EditWaitSecBeg = QString::number(engine.WaitSecInBeggining);
    m_controls.EditHowFastFadeOnSpots = QString::number(spots.HowFastFadeOnSpots);
    m_controls.CheckBoxGreekLishSearch = kept.GreeklishSearch;
    m_controls.CheckBoxSymplifyPlayer = kept.SimplifyPlayer;
    m_controls.RadioButtonShowAvi = kept.AviOrMessage;
    m_controls.CheckBoxSkipIntro = engine.SkipIntro;
    m_controls.EditSkipIntroSec = QString::number(engine.SkipIntroSec);
    m_controls.EditSkipIntroSecEnabled = engine.SkipIntro;
    m_controls.CheckBoxPlayOnlyOneSpot = spots.PlayOnlyOneSpot;
    m_controls.EditPlaySpotEvery = QString::number(spots.PlaySpotEvery);
    NotifyLayout();
}

void Options::EditWinAmpPath1Change(const QString& text) {
    m_controls.EditWinAmpPath1 = text;
    m_station.Engine().SetWinAmpPath(text);
}

void Options::SpotRadioClick(SpotMode mode) {
    m_controls.SpotRadio = mode;
    m_station.Spots().SetHowToPlaySpots(mode);
}

void Options::CheckBoxShutDown1Click(bool checked) {
    m_controls.CheckBoxShutDown1 = checked;
    m_station.Shutdown().SetShutDown(checked);
}

QString Options::ComboBoxHourShutDown1Change(const QString& text) {
    m_controls.ComboBoxHourShutDown1 = text;
    const std::optional<int> hour = ParseInt(text);
    if (!hour) return NotAnIntegerMessage(text);
    m_station.Shutdown().SetShutDownHour(*hour);
    return {};
}

void Options::ComboBoxMinShutDown1Change(const QString& text) {
    m_controls.ComboBoxMinShutDown1 = text;
    m_station.Shutdown().SetShutDownMin(IntFromText(text, kShutDownMinFallback));
}

void Options::CheckBoxLockPrograms1Click(bool checked) {
    m_controls.CheckBoxLockPrograms1 = checked;
    m_station.Lock().LockPrograms = checked;
    NotifyLayout();
}

void Options::CheckBoxSymplifyPlayerClick(bool checked) {
    m_controls.CheckBoxSymplifyPlayer = checked;
    m_station.StoredOptions().SimplifyPlayer = checked;
    NotifyLayout();
}

void Options::EditWaitSecBegChange(const QString& text) {
    m_controls.EditWaitSecBeg = text;
    // Read at the next start only.
    m_station.Engine().SetWaitSecInBeggining(IntFromText(text, kWaitSecFallback));
}

void Options::EditHowFastFadeOnSpotsChange(const QString& text) {
    m_controls.EditHowFastFadeOnSpots = text;
    m_station.Spots().SetHowFastFadeOnSpots(IntFromText(text, kFadeStepFallback));
}

void Options::CheckBoxGreekLishSearchClick(bool checked) {
    m_controls.CheckBoxGreekLishSearch = checked;
    m_station.StoredOptions().GreeklishSearch = checked;
}

void Options::AviOrMessageClick(bool showAvi) {
    m_controls.RadioButtonShowAvi = showAvi;
    m_station.StoredOptions().AviOrMessage = showAvi;
    NotifyLayout();
}

void Options::CheckBoxSkipIntroClick(bool checked) {
    m_controls.CheckBoxSkipIntro = checked;
    m_controls.EditSkipIntroSecEnabled = checked;
    m_station.Engine().SetSkipIntro(checked);
}

void Options::EditSkipIntroSecChange(const QString& text) {
    m_controls.EditSkipIntroSec = text;
    m_station.Engine().SetSkipIntroSec(IntFromText(text, kSkipIntroSecFallback));
}

void Options::CheckBoxPlayOnlyOneSpotClick(bool checked) {
    m_controls.CheckBoxPlayOnlyOneSpot = checked;
    m_station.Spots().SetPlayOnlyOneSpot(checked);
}

void Options::EditPlaySpotEveryChange(const QString& text) {
    m_controls.EditPlaySpotEvery = text;
    m_station.Spots().SetPlaySpotEvery(IntFromText(text, kPlaySpotEveryFallback));
}

bool Options::LockLayout() const { return m_station.Lock().LockPrograms; }

bool Options::SimpleLayout() const { return m_station.StoredOptions().SimplifyPlayer; }
bool Options::ShowAvi() const { return m_station.StoredOptions().AviOrMessage; }

void Options::NotifyLayout() { Q_EMIT LayoutChanged(); }

QString NotAnIntegerMessage(const QString& text) {
    return QStringLiteral("'%1' is not a valid integer value").arg(text);
}
