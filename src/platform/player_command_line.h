#pragma once

#include <QString>
#include <array>
#include <optional>

/// The parameter texts that start the player program on Windows: the launch of a deck
/// and the hand-over of a file to a running deck, addressed by the deck's class.
namespace player_command_line {

/// The class names the decks' windows are looked up by, and as written on a command line.
inline constexpr std::array<const char*, 2> PlayerClassNames{"WinampRadio0", "WinampRadio1"};
inline constexpr std::array<const char*, 2> PlayerClassArgs{"\"WinAmpRadio0\"", "\"WinAmpRadio1\""};

/// The class name as written on a command line, quotes included: "\"WinAmpRadio1\"".
QString PlayerClassArg(int deck);
/// The class name the deck's window is looked up by: "WinampRadio1".
QString PlayerWindowClass(int deck);

/// The name a deck goes by in the sound server's mixer: "Stavox Mixer deck 1" for deck 0.
QString MixerName(int deck);

/// "/NEW /CLASS=\"WinAmpRadio0\"": starts a new instance of the deck.
QString LaunchParameters(int deck);
/// " /CLASS=\"WinAmpRadio1\" \"<path>\"": hands a file to the running deck. Nothing when
/// the path holds a double quote, which no quoting on a Windows command line carries
/// reliably, a line break, or ends in a backslash (which would escape the closing quote).
std::optional<QString> HandOverParameters(int deck, const QString& path);

}  // namespace player_command_line
