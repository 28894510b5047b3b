#include "app/options.h"
#include "app/station.h"
#include "app/station_commands.h"
#include "base/number_text.h"

namespace {

// "KEY VALUE": the key of a stored setting the options dialog shows, then its value (the
// rest of the line, which may be empty).
Result SetOption(Station& s, const QString& arg) {
    const qsizetype space = arg.indexOf(QLatin1Char(' '));
    return Options::Set(s.StoredSettings(), arg.left(space),
                        space < 0 ? QString() : arg.mid(space + 1));
}

// "NAME background|font COLOUR": a component's stored colour, 0x00BBGGRR as a number.
Result SetColour(StationOptions& options, const QString& arg) {
    const QStringList words = arg.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const std::optional<int> colour = words.size() == 3 ? ParseInt(words[2]) : std::nullopt;
    const bool font = words.value(1) == u"font";
    if (!colour || (!font && words.value(1) != u"background"))
        return Result::Error(
            QStringLiteral("a colour is NAME background|font COLOUR, not \"%1\"").arg(arg));
    ComponentColours& colours = options.Colours[words[0]];
    (font ? colours.font : colours.background) = static_cast<ColourValue>(*colour);
    return Result::Ok();
}

}  // namespace

std::vector<OperatorVerb> StationCommands::OptionsVerbs() {
    return {
        {"option", VerbArgument::Text, SetOption},
        // Never refused by the lock: it is the lock.
        {"lock-programs", VerbArgument::OnOff,
         [](Station& s, const QString& arg) {
             s.m_lock.LockPrograms = arg == u"on";
             return Result::Ok();
         }},
        {"colour", VerbArgument::Text,
         [](Station& s, const QString& arg) { return SetColour(s.m_options, arg); }},
        {"owner-message", VerbArgument::Text,
         [](Station& s, const QString& arg) {
             s.m_options.OwnerMessage = arg;
             return Result::Ok();
         }},
    };
}
