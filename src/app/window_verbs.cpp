#include "app/station.h"
#include "app/station_commands.h"
#include "base/number_text.h"
#include "base/station_error.h"

// The window's own commands: its keys, the automatic shutdown's cancel, the drag of the
// message's label, the pixel sizes the core's moving texts and knob are reckoned in, sent
// whenever they change, and the window's problems for the station's standard error.

namespace {

constexpr int kFirstKey = 219;  // [ fade out
constexpr int kLastKey = 222;   // ' pause

QString KeyRefusal(const Station&, const QString& arg) {
    const int key = arg.toInt();
    if (key >= kFirstKey && key <= kLastKey) return {};
    return QStringLiteral("no window key %1 (the keys are %2 to %3)")
        .arg(CutForEcho(arg))
        .arg(kFirstKey)
        .arg(kLastKey);
}

// Whole numbers, as many as the verb takes, separated by spaces.
QString PixelsRefusal(const QString& arg, int count) {
    const QStringList words = arg.split(u' ');
    bool fits = words.size() == count;
    for (const QString& word : words) fits = fits && ParseInt(word).has_value();
    if (fits) return {};
    return QStringLiteral("%1 whole number(s) of pixels, not \"%2\"")
        .arg(count)
        .arg(CutForEcho(arg));
}

QString OneWidthRefusal(const Station&, const QString& arg) { return PixelsRefusal(arg, 1); }

QString KnobGeometryRefusal(const Station&, const QString& arg) { return PixelsRefusal(arg, 3); }

// "WIDTH TITLE": the title as measured, so a width that arrives after the next title
// is not taken for it.
QString TitleWidthRefusal(const Station&, const QString& arg) {
    return PixelsRefusal(arg.section(u' ', 0, 0), 1);
}

int Pixels(const QString& arg, int word = 0) { return *ParseInt(arg.section(u' ', word, word)); }

Result Done() { return Result::Ok(); }

}  // namespace

std::vector<OperatorVerb> StationCommands::WindowVerbs() {
    return {
        // Brings a page to the front by its tab's caption (a program page, Jingles beside the
        // played list, a library page): for a helper at the operator's side, or a script.
        {"show-page", VerbArgument::Text,
         [](Station& s, const QString& caption) {
             s.m_pageAsked = caption.trimmed();
             ++s.m_pageAskedSerial;
             return Result::Ok();
         }},
        // The window keys by the station's codes: 219 [ fades deck 1 out, 220 \ switches the
        // line input, 221 ] fades deck 1 in, 222 ' pauses.
        {"key", VerbArgument::Number,
         [](Station& s, const QString& arg) {
             s.KeyDown(arg.toInt());
             return Done();
         },
         KeyRefusal},
        {"cancel-shutdown", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_shutdown.ButtonCancelShutDown2Click();
             return Done();
         }},
        {"title-width", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_engine.Panel().SetTitleWidth(Pixels(arg), arg.section(u' ', 1));
             return Done();
         },
         TitleWidthRefusal},
        {"title-panel-width", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_engine.Panel().SetTitlePanelWidth(Pixels(arg));
             return Done();
         },
         OneWidthRefusal},
        {"advert-panel-width", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.SetAdvertPanelWidth(Pixels(arg));
             return Done();
         },
         OneWidthRefusal},
        {"advert-label-width", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.SetAdvertLabelWidth(Pixels(arg));
             return Done();
         },
         OneWidthRefusal},
        {"message-panel-width", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.SetMessagePanelWidth(Pixels(arg));
             return Done();
         },
         OneWidthRefusal},
        {"message-label-width", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.SetMessageLabelWidth(Pixels(arg));
             return Done();
         },
         OneWidthRefusal},
        // The operator drags LabelMessages: the mouse's horizontal screen position in pixels
        // at the press and at each move; the marquee holds still until the release.
        {"message-drag-start", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_messageDrag.Start(Pixels(arg));
             return Done();
         },
         OneWidthRefusal},
        {"message-drag-move", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_messageDrag.Move(Pixels(arg));
             return Done();
         },
         OneWidthRefusal},
        {"message-drag-end", VerbArgument::None,
         [](Station& s, const QString&) {
             s.m_messageDrag.End();
             return Done();
         }},
        // A problem the window met (a caption file, the video), written where the station's
        // own problems go for whoever reads its standard error.
        {"report-problem", VerbArgument::Text,
         [](Station&, const QString& arg) {
             station_error::Print(arg);
             return Done();
         }},
        // "BAR-LEFT BAR-WIDTH KNOB-WIDTH" of the position bar and its knob.
        {"knob-geometry", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_engine.Panel().SetKnobGeometry(Pixels(arg, 0), Pixels(arg, 1), Pixels(arg, 2));
             return Done();
         },
         KnobGeometryRefusal},
    };
}
