#include "platform/player_command_line.h"

#include <gtest/gtest.h>

using namespace player_command_line;

TEST(PlayerCommandLineTest, LaunchAndHandOverTextsAndPathsTheCommandLineCannotCarry) {
    EXPECT_EQ(PlayerWindowClass(1), "WinampRadio1");  // the Windows decks' window class
    EXPECT_EQ(LaunchParameters(0), "/NEW /CLASS=\"WinAmpRadio0\"");
    EXPECT_EQ(LaunchParameters(1), "/NEW /CLASS=\"WinAmpRadio1\"");
    // A path that would end the quoted argument early or run into the next option is refused.
    const std::tuple<int, QString, QString> cases[] = {
        {1, "C:\\Music\\Band - Tune.mp3",
         " /CLASS=\"WinAmpRadio1\" \"C:\\Music\\Band - Tune.mp3\""},
        {0, "D:\\Μουσική\\Το τραγούδι.mp3",
         " /CLASS=\"WinAmpRadio0\" \"D:\\Μουσική\\Το τραγούδι.mp3\""},
        {1, "C:\\hour1\\hourToPlay.m3u", " /CLASS=\"WinAmpRadio1\" \"C:\\hour1\\hourToPlay.m3u\""},
        {0, "C:\\Music\\The \"Best\" Of.mp3", "refused"},
        {0, "C:\\Music\\x.mp3\" /NEW \"y.mp3", "refused"},
        {0, "C:\\Music\\", "refused"},
        {0, "C:\\Music\\a\r\nb.mp3", "refused"},
        {0, "", "refused"},
    };
    for (const auto& [deck, path, parameters] : cases)
        EXPECT_EQ(HandOverParameters(deck, path).value_or("refused"), parameters)
            << path.toStdString();
}
