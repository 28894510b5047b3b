#include "platform/player_command_line.h"

namespace player_command_line {

QString PlayerClassArg(int deck) { return QString::fromLatin1(PlayerClassArgs[deck & 1]); }

QString PlayerWindowClass(int deck) { return QString::fromLatin1(PlayerClassNames[deck & 1]); }

QString MixerName(int deck) { return QStringLiteral("Stavox Mixer deck %1").arg((deck & 1) + 1); }

QString LaunchParameters(int deck) { return QStringLiteral("/NEW /CLASS=") + PlayerClassArg(deck); }

std::optional<QString> HandOverParameters(int deck, const QString& path) {
    // A quote would end the argument early and let the rest of the path become options; a
    // backslash right before the closing quote would escape it. Neither names a file.
    if (path.isEmpty() || path.contains(QLatin1Char('"')) || path.contains(QLatin1Char('\r')) ||
        path.contains(QLatin1Char('\n')) || path.endsWith(QLatin1Char('\\')))
        return std::nullopt;
    return QStringLiteral(" /CLASS=") + PlayerClassArg(deck) + QStringLiteral(" \"") + path +
           QLatin1Char('"');
}

}  // namespace player_command_line
