#include "housekeeping/caption_language.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "base/text_file.h"
#include "support/files.h"

namespace {

const QStringList kTrackLabels = {"Label20", "Label6",  "Label8", "Label14",
                                  "Label16", "Label18", "Label17"};

QList<Caption> All(const QStringList& components, const QString& text) {
    QList<Caption> captions;
    for (const QString& component : components) captions.append({component, text});
    return captions;
}

TEST(CaptionLanguageTest, TheFileSetsTheCaptionsOfItsKeysOnly) {
    const QString tracks = QStringLiteral("τραγούδια");
    const struct {
        const char* name;
        QByteArray bytes;
        QList<Caption> expected;
    } cases[] = {
        {"utf-8", "[MainMenu]\r\ntracks=" + tracks.toUtf8() + "\r\n", All(kTrackLabels, tracks)},
        {"greek code page", "[MainMenu]\ntracks=" + text_file::EncodeWindows1253(tracks),
         All(kTrackLabels, tracks)},
        {"mixed-case key and section", "[mainMENU]\n  ProGRAMS = \"lists\" \n",
         All({"Label10", "Label22"}, "lists")},
        {"other section",
         "[Other]\nFile=Αρχείο\n[MainMenu]\nFade=\n",
         {{"CheckBoxFadeJingles", ""}}},
        {"first of a repeated key",
         "[MainMenu]\nSec=s\nsec=x\nHelp=A&B <b>\n",
         {{"Help1", "A&B <b>"}, {"Label12", "s"}}},
        {"long value",
         "[MainMenu]\nStop=" + QByteArray(1500, 'x'),
         {{"SpeedButtonStopJingle", QString(1023, 'x')}}},
        {"no file", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        if (!c.bytes.isNull()) WriteBytes(dir.filePath("language.ini"), c.bytes);
        const LanguageCaptions language = LoadLanguage(dir.path() + "/");
        EXPECT_EQ(language.captions, c.expected);
        EXPECT_EQ(language.problem, QString());
    }
}

TEST(CaptionLanguageTest, AFileThatIsNoTextIsToldAndSetsNothing) {
    QTemporaryDir dir;
    WriteBytes(dir.filePath("language.ini"), QByteArray("[MainMenu]\nFile=\0x", 18));
    const LanguageCaptions language = LoadLanguage(dir.path() + "/");
    EXPECT_TRUE(language.captions.isEmpty());
    EXPECT_TRUE(language.problem.contains("language.ini")) << language.problem.toStdString();
}

}  // namespace
