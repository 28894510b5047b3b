#include <QStringList>

#include "app/station.h"
#include "app/station_commands.h"
#include "base/number_text.h"

// The player panel's and the next tracks' commands. The transport's pause, next, manual,
// line-in and "Hour" are the air's verbs (operator_actions.cpp), the same for the window.

namespace {

using Level = VolumeBars::LevelBox;

constexpr int kDecks = 2;
constexpr int kCues = 3;
constexpr int kLevelBoxes = int(Level::EditMixingTime) + 1;

QString NoSuch(const QString& what, const QString& argument, int count) {
    const int n = argument.toInt();
    if (n >= 1 && n <= count) return {};
    return QStringLiteral("no %1 %2 (there are %3)").arg(what, CutForEcho(argument)).arg(count);
}

QString DeckRefusal(const Station&, const QString& arg) {
    return NoSuch(QStringLiteral("volume bar"), arg, kDecks);
}

QString CueRefusal(const Station&, const QString& arg) {
    return NoSuch(QStringLiteral("cue memory"), arg, kCues);
}

QString NextLabelRefusal(const Station&, const QString& arg) {
    return NoSuch(QStringLiteral("next-track label"), arg, PlayQueue::kShownEntries);
}

QString NotANumber(const QString& arg) {
    return QStringLiteral("a whole number, not \"%1\"").arg(CutForEcho(arg));
}

QString WholeNumberRefusal(const Station&, const QString& arg) {
    return ParseInt(arg) ? QString() : NotANumber(arg);
}

// "left X" or "right X": the mouse button pressed on the knob and where, in pixels.
QString KnobPressRefusal(const Station&, const QString& arg) {
    const QStringList words = arg.split(u' ');
    if (words.size() == 2 && (words[0] == u"left" || words[0] == u"right") && ParseInt(words[1]))
        return {};
    return QStringLiteral("left or right and a pixel, not \"%1\"").arg(CutForEcho(arg));
}

// "BAR POSITION": bar 1 or 2, 0 at the top (full volume) to 100.
QString VolumeBarRefusal(const Station& s, const QString& arg) {
    const QString bar = arg.section(u' ', 0, 0);
    if (QString reason = DeckRefusal(s, bar); !reason.isEmpty()) return reason;
    return WholeNumberRefusal(s, arg.section(u' ', 1));
}

// "BOX TEXT": box 1..5 and what it holds now (may be empty).
QString LevelRefusal(const Station&, const QString& arg) {
    return NoSuch(QStringLiteral("level box"), arg.section(u' ', 0, 0), kLevelBoxes);
}

Result Done() { return Result::Ok(); }

}  // namespace

std::vector<OperatorVerb> StationCommands::PlayerVerbs() {
    return {
        // BitBtnPlay: the marked next track plays now.
        {"play-marked", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_engine.PlayMarked();
             return Done();
         }},
        {"restart-track", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_engine.Restart();
             return Done();
         }},
        {"jump-back", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_engine.JumpBackward();
             return Done();
         }},
        {"jump-forward", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_engine.JumpForward();
             return Done();
         }},
        // Editsec1 as typed; a jump reads it as seconds (30 when not a number).
        {"jump-seconds", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_engine.SetJumpSecText(arg);
             return Done();
         }},
        {"store-cue", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.m_engine.StoreCue(arg.toInt());
             return Done();
         },
         CueRefusal},
        {"recall-cue", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.m_engine.RecallCue(arg.toInt());
             return Done();
         },
         CueRefusal},
        {"knob-press", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_engine.Panel().KnobPress(arg.startsWith(u"left"), *ParseInt(arg.section(u' ', 1)));
             return Done();
         },
         KnobPressRefusal},
        // The mouse moved to X within the knob.
        {"knob-move", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_engine.Panel().KnobMove(*ParseInt(arg));
             return Done();
         },
         WholeNumberRefusal},
        {"knob-release", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_engine.KnobRelease();
             return Done();
         }},
        {"volume-bar", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_engine.MoveBarByHand(arg.section(u' ', 0, 0).toInt() - 1,
                                      *ParseInt(arg.section(u' ', 1)));
             return Done();
         },
         VolumeBarRefusal},
        {"fade-in", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             arg == u"1" ? s.m_engine.FadeIn0() : s.m_engine.FadeIn1();
             return Done();
         },
         DeckRefusal},
        {"fade-out", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             arg == u"1" ? s.m_engine.FadeOut0() : s.m_engine.FadeOut1();
             return Done();
         },
         DeckRefusal},
        // 1 raises the playing deck and lowers the other (▲▼), 2 the other way (▼▲).
        {"crossfade", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             arg == u"1" ? s.m_engine.FadeIn0Amp() : s.m_engine.FadeIn1Amp();
             return Done();
         },
         DeckRefusal},
        // Boxes 1..5: EditFadeOut0, EditFadeIn0, EditFadeOut1, EditFadeIn1, EditMixingTime.
        {"level-box", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_engine.SetLevelText(Level(arg.section(u' ', 0, 0).toInt() - 1),
                                     arg.section(u' ', 1));
             return Done();
         },
         LevelRefusal},
        {"mixing-interval", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_engine.SetMixingIntervalText(arg);
             return Done();
         }},
        // SpeedButtonAmp1/2: the line input's action on that deck again.
        {"amp-button", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.m_lineIn.ClickAmpButton(arg.toInt() - 1);
             return Done();
         },
         DeckRefusal},
        // TrackBarLineIn1 moved by hand: 0 at the top to 100.
        {"line-in-bar", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_lineIn.MoveBarByHand(*ParseInt(arg));
             return Done();
         },
         WholeNumberRefusal},
        // A click on next-track label N marks it; play-next is its double click.
        {"mark-next", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.m_engine.ClickNextTrackLabel(arg.toInt());
             return Done();
         },
         NextLabelRefusal},
        {"play-next", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.m_engine.DoubleClickNextTrackLabel(arg.toInt());
             return Done();
         },
         NextLabelRefusal},
        // The marked next track's moves and removal, and the insert from the library page
        // shown ("<<<-----").
        {"next-up", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_desk.ButtonUpPlay1Click();
             return Done();
         }},
        {"next-down", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_desk.ButtonDownPlay1Click();
             return Done();
         }},
        {"next-delete", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_desk.ButtonPlayDel1Click();
             return Done();
         }},
        {"next-insert", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_desk.SpeedButton8Click();
             return Done();
         }},
        {"random-play", VerbArgument::OnOff,
         [](Station& s, const QString& arg) {
             s.m_engine.SetRandomPlay(arg == u"on");
             return Done();
         }},
    };
}
