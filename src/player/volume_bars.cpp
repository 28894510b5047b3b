#include "player/volume_bars.h"

#include <algorithm>

#include "base/number_text.h"
#include "base/timer_host.h"
#include "player/decks.h"

namespace {

constexpr int kDefaultInterval = 100;
constexpr int kLathousMs = 10'000;
// Fallbacks for text that is not a number, in LevelBox order.
constexpr std::array<int, 5> kLevelFallbacks{10, 90, 10, 90, 20};
// The stored names and defaults of the boxes, in LevelBox order.
struct StoredLevel {
    const char* key;
    const char* text;
};
constexpr std::array<StoredLevel, 5> kStoredLevels{{
    {"FadeOut0", "30"},
    {"FadeIn0", "95"},
    {"FadeOut1", "30"},
    {"FadeIn1", "95"},
    {"MixingTime", "20"},
}};

}  // namespace

struct VolumeBars::FadeTimer {
    int bar = 0;
    bool up = false;
    LevelBox level = LevelBox::EditFadeOut0;
    Fade opposite = Fade::Timer2;
    std::unique_ptr<Timer> timer;
};

VolumeBars::VolumeBars(Decks& decks, TimerHost& timers)
    : m_decks(decks), m_settings([this] { SetFadeInterval(MixingInterval()); }) {
    struct Row {
        const char* name;
        int bar;
        bool up;
        LevelBox level;
        Fade opposite;
    };
    const std::array<Row, 4> rows{{
        {"Timer1", 0, false, LevelBox::EditFadeOut0, Fade::Timer2},
        {"Timer2", 0, true, LevelBox::EditFadeIn0, Fade::Timer1},
        {"TimerFadeOut1", 1, false, LevelBox::EditFadeOut1, Fade::TimerFadeIn1},
        {"TimerFadeIn1", 1, true, LevelBox::EditFadeIn1, Fade::TimerFadeOut1},
    }};
    for (int i = 0; i < 4; ++i) {
        auto f = std::make_unique<FadeTimer>();
        f->bar = rows[i].bar;
        f->up = rows[i].up;
        f->level = rows[i].level;
        f->opposite = rows[i].opposite;
        const auto fade = static_cast<Fade>(i);
        f->timer = timers.CreateTimer(QString::fromLatin1(rows[i].name), kDefaultInterval,
                                      [this, fade] { Tick(fade); });
        m_fades[i] = std::move(f);
    }
    for (int i = 0; i < 5; ++i) {
        m_levelTexts[i] = QLatin1String(kStoredLevels[i].text);
        m_settings.Add(kStoredLevels[i].key, m_levelTexts[i]);
    }
    m_intervalText = QString::number(kDefaultInterval);
    m_settings.Add("MixingInterval", m_intervalText);
    m_lathous =
        timers.CreateTimer(QStringLiteral("TimerLathous"), kLathousMs, [this] { Lathous(); });
    m_lathous->SetEnabled(true);
}

VolumeBars::~VolumeBars() = default;

VolumeBars::FadeTimer& VolumeBars::At(Fade fade) { return *m_fades[static_cast<int>(fade)]; }
const VolumeBars::FadeTimer& VolumeBars::At(Fade fade) const {
    return *m_fades[static_cast<int>(fade)];
}

void VolumeBars::SetLevelText(LevelBox box, const QString& text) {
    m_levelTexts[static_cast<int>(box)] = text;
}

QString VolumeBars::LevelText(LevelBox box) const { return m_levelTexts[static_cast<int>(box)]; }
int VolumeBars::Level(LevelBox box) const {
    const int i = static_cast<int>(box);
    return IntFromText(m_levelTexts[i], kLevelFallbacks[i]);
}

int VolumeBars::MixingInterval() const { return IntFromText(m_intervalText, kDefaultInterval); }

void VolumeBars::SetMixingIntervalText(const QString& text) {
    m_intervalText = text;
    SetFadeInterval(MixingInterval());
}

void VolumeBars::SetFadeInterval(int ms) {
    // A timer of 0 ms or less would never fire and leave a crossfade half done, with the
    // old deck playing on; step as fast as the timers allow instead.
    const int interval = std::max(ms, 1);
    for (auto& f : m_fades) f->timer->SetInterval(interval);
}

int VolumeBars::FadeInterval() const { return m_fades[0]->timer->Interval(); }

bool VolumeBars::Running(Fade fade) const { return At(fade).timer->Enabled(); }

void VolumeBars::MoveBarByHand(int bar, int position) {
    m_position[bar & 1] = std::clamp(position, 0, 100);
    m_decks.SetVolumePercent(bar == 0 ? m_decks.CurrentDeck : m_decks.NextDeck, Volume(bar));
}

void VolumeBars::StartFade(Fade fade) {
    At(At(fade).opposite).timer->SetEnabled(false);
    At(fade).timer->SetEnabled(true);
}

// The stop at the bottom of bar 1 belongs to a crossfade and waits for its fade-out,
// even when the operator turned the fade round by hand and back again: the old deck
// never plays on under the new one.
void VolumeBars::FadeIn1() { StartFade(Fade::TimerFadeIn1); }
void VolumeBars::FadeOut1() { StartFade(Fade::TimerFadeOut1); }
void VolumeBars::FadeIn0Amp() {
    FadeIn0();
    FadeOut1();
}
void VolumeBars::FadeIn1Amp() {
    FadeOut0();
    FadeIn1();
}

void VolumeBars::Tick(Fade fade) {
    FadeTimer& f = At(fade);
    // A level beyond 0..100 is reached where the bar ends, so such a fade still finishes
    // (and a crossfade still stops the old deck).
    const int level = std::clamp(Level(f.level), 0, 100);
    int v = Volume(f.bar) + (f.up ? m_pageSize : -m_pageSize);
    if (f.up ? v >= level : v <= level) {
        f.timer->SetEnabled(false);
        if (fade == Fade::TimerFadeOut1 && StopAfterFade) {
            m_decks.Stop(m_decks.NextDeck);
            StopAfterFade = false;
        }
        v = level;
    }
    m_position[f.bar] = std::clamp(100 - v, 0, 100);
    m_decks.SetVolumePercent(f.bar == 0 ? m_decks.CurrentDeck : m_decks.NextDeck, Volume(f.bar));
}

void VolumeBars::StartCrossfade(int step, int interval) {
    m_decks.Exchange();
    PressedAmpButton = m_decks.CurrentDeck;
    m_pageSize = step;
    m_position[1] = m_position[0];
    m_position[0] = std::clamp(100 - Level(LevelBox::EditFadeOut0), 0, 100);
    StopAfterFade = true;
    SetFadeInterval(interval != 0 ? interval : MixingInterval());
    StartFade(Fade::Timer2);
    StartFade(Fade::TimerFadeOut1);
}

void VolumeBars::Lathous() {
    m_lathous->SetEnabled(false);
    m_decks.SetVolumePercent(m_decks.CurrentDeck, Volume(0));
    m_lathous->SetEnabled(true);
}
