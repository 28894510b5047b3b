#include "platform/player_command_line.h"

#include <gtest/gtest.h>

using namespace player_command_line;

TEST(PlayerCommandLineTest, LaunchAndHandOverTexts) {
    EXPECT_EQ(PlayerWindowClass(1), "WinampRadio1");  // the Windows decks' window class
    EXPECT_EQ(LaunchParameters(0), "/NEW /CLASS=\"WinAmpRadio0\"");
    EXPECT_EQ(LaunchParameters(1), "/NEW /CLASS=\"WinAmpRadio1\"");
    struct Case {
        int deck;
        QString path;
        QString parameters;
    };
    const Case cases[] = {
        {1, "C:\\Music\\Band - Tune.mp3",
         " /CLASS=\"WinAmpRadio1\" \"C:\\Music\\Band - Tune.mp3\""},
        {0, "D:\\Μουσική\\Το τραγούδι.mp3",
         " /CLASS=\"WinAmpRadio0\" \"D:\\Μουσική\\Το τραγούδι.mp3\""},
        {1, "C:\\hour1\\hourToPlay.m3u", " /CLASS=\"WinAmpRadio1\" \"C:\\hour1\\hourToPlay.m3u\""},
    };
    for (const Case& c : cases) EXPECT_EQ(HandOverParameters(c.deck, c.path), c.parameters);
}

TEST(PlayerCommandLineTest, RefusesPathsTheCommandLineCannotCarry) {
    // Each of these would end the quoted argument early or run into the next option.
    const QString refused[] = {
        "C:\\Music\\The \"Best\" Of.mp3",
        "C:\\Music\\x.mp3\" /NEW \"y.mp3",
        "C:\\Music\\",
        "C:\\Music\\a\r\nb.mp3",
        "",
    };
    for (const QString& path : refused)
        EXPECT_FALSE(HandOverParameters(0, path).has_value()) << path.toStdString();
}
