#pragma once

#include <QMap>
#include <QString>
#include <QtGlobal>
#include <memory>
#include <optional>

class QSettings;

/// The station's settings: read once at start-up, written back in full at close. Every
/// value is stored as a string under its own name; colours sit in the subgroups "colors"
/// (background) and "ColorFonts" (font colour).

/// A stored colour: 0x00BBGGRR, or a system colour when the high byte is 0x80 (its
/// index in the low byte). Kept raw so that a system colour survives a round trip.
using ColourValue = quint32;

bool IsSystemColour(ColourValue colour);
/// The system colour's index (0x8000000F gives 15); only meaningful for a system colour.
int SystemColourIndex(ColourValue colour);
struct Rgb {
    int r = 0;
    int g = 0;
    int b = 0;
    bool operator==(const Rgb&) const = default;
};
/// Red is the low byte. Not meaningful for a system colour.
Rgb RgbOf(ColourValue colour);
ColourValue ColourFromRgb(int r, int g, int b);

/// A component's colours; an empty one is neither read nor written.
struct ComponentColours {
    std::optional<ColourValue> background;
    std::optional<ColourValue> font;
    bool operator==(const ComponentColours&) const = default;
};

/// Component name → colours, with the defaults. After reading, "LabelWra2" and
/// "LabelRunProgram" carry "LabelProgramName1"'s colours; they are never stored.
QMap<QString, ComponentColours> DefaultColours();

/// One field per stored value, named as stored, holding its default until read.
struct Settings {
    QString WinAmpPath;
    int WaitSecInBeggining = 6;
    int HowToPlaySpots = 1;
    bool RandomPlay = false;
    bool FadeJingles = false;
    // The fade and mixing values stay the operator's text ("abc" is kept and written back);
    // DeriveFadeLevels turns them into numbers.
    QString FadeOut0 = QStringLiteral("30");
    QString FadeIn0 = QStringLiteral("95");
    QString FadeOut1 = QStringLiteral("30");
    QString FadeIn1 = QStringLiteral("95");
    QString MixingTime = QStringLiteral("20");
    QString MixingInterval = QStringLiteral("100");
    QString JumpSec = QStringLiteral("30");
    bool ShutDown = false;
    int ShutDownHour = 0;
    int ShutDownMin = 0;
    bool LockPrograms = false;
    bool GreeklishSearch = false;
    QString OwnerMessage = QStringLiteral("Right Click to Enter Your message");
    int HowFastFadeOnSpots = 20;
    bool CheckBoxDontClearAutomaticallyPrevTracks = false;
    bool SimplifyPlayer = false;
    bool AviOrMessage = true;
    bool SkipIntro = false;
    int SkipIntroSec = 5;
    bool PlayOnlyOneSpot = false;
    quint8 PlaySpotEvery = 5;  ///< one byte: a stored 300 is 44

    QMap<QString, ComponentColours> Colours = DefaultColours();

    bool operator==(const Settings&) const = default;
};

/// Reads every value; a missing or non-numeric one gives its default. Integers may be
/// decimal or "0x" hexadecimal; any integer other than 0 is true.
Settings ReadSettings(QSettings& store);
/// Writes every value and every stored colour as a string.
void WriteSettings(QSettings& store, const Settings& settings);
/// Writes every value and checks the store by reading it back: QSettings keeps an error
/// met while reading as its status after a good write, and can commit a file cut short as
/// a success. Returns a message naming the store and, where the system gives one, its
/// reason; an empty string when every value is stored.
QString SaveSettings(QSettings& store, const Settings& settings);
/// Why the store could not be read whole at start, or an empty string.
QString SettingsReadProblem(const QSettings& store);
/// The station's own store: the per-user registry key Kelmar\Stavox on Windows,
/// ~/.config/Kelmar/Stavox.conf on Linux.
std::unique_ptr<QSettings> OpenStationSettings();

/// The numbers behind the fade and mixing texts.
struct FadeLevels {
    int FadeOut0Level = 10;
    int FadeIn0Level = 90;
    int FadeIn1Level = 90;
    int FadeOut1Level = 10;
    int MixingSeconds = 20;
    bool operator==(const FadeLevels&) const = default;
};
/// Converts the texts, each falling back to its default above when it is not a number;
/// call again whenever one of the boxes changes.
FadeLevels DeriveFadeLevels(const Settings& settings);
