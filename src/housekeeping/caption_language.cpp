#include "housekeeping/caption_language.h"

#include <QFileInfo>
#include <array>

#include "base/text_file.h"

namespace {

constexpr qsizetype kMaxValueLength = 1023;

// Each key with the component whose caption it sets and the components that copy it.
struct CaptionKey {
    const char* key;
    const char* component;
    std::initializer_list<const char*> copies;
};

const std::array<CaptionKey, 39> kCaptionKeys = {{
    {"File", "File1", {}},
    {"DeleteUnusedEntries", "DeleteUnusedEntries1", {}},
    {"Options", "Options1", {}},
    {"Options2", "Options2", {}},
    {"Color", "Color1", {}},
    {"Fonts", "Fonts1", {}},
    {"NormalFunction", "NormalFunction1", {}},
    {"Help", "Help1", {}},
    {"About", "About1", {}},
    {"Played", "TabSheetPlayed", {}},
    {"Playlist", "TabSheetPlayList", {}},
    {"Jingles", "TabSheetJingles", {}},
    {"Save", "ButtonSaveList1Click", {}},
    {"Clear", "SpeedButtonClearPrevList", {}},
    {"DontClear", "CheckBoxDontClearAutomaticallyPrevTracks", {}},
    {"Tracks", "Label20", {"Label6", "Label8", "Label14", "Label16", "Label18", "Label17"}},
    {"Play", "SpeedButton7", {}},
    {"CancelShutdown", "ButtonCancelShutDown2", {}},
    {"WindowsWillShutdownAt", "LabelShutdown4", {}},
    {"Selections", "CheckBoxRandomPlay1", {}},
    {"ClearJingles", "SpeedButtonCearJingles", {}},
    {"Fade", "CheckBoxFadeJingles", {}},
    {"Sec", "Label12", {}},
    {"Stop", "SpeedButtonStopJingle", {}},
    {"SetJingles", "SpeedButtonSetJingles", {}},
    {"Calendar", "TabSheetCalendar", {}},
    {"Spots", "TabSheetSpots", {}},
    {"Lists", "TabSheetLists", {}},
    {"SetProgram", "ButtonSetProgr1", {}},
    {"SameAs", "BitBtnIdioProMe1", {}},
    {"PlaySpots", "ButtonPlayNoramllySpots", {}},
    {"SpotsHaveCanceled", "Label7", {}},
    {"New", "SpeedButtonNewProgram1", {}},
    {"SaveList", "BitBtnSaveProgram1", {}},
    {"Programs", "Label10", {"Label22"}},
    {"Dir", "TabSheetDir", {}},
    {"ListsAlphabetic", "TabSheetFile", {}},
    {"Search", "TabSheetSearch", {}},
    {"Artists", "TabSheetArtist", {}},
}};

// A value in double quotes stands without them, as the system's profile reader gives it.
QString Unquoted(const QString& value) {
    if (value.size() >= 2 && value.startsWith(QLatin1Char('"')) &&
        value.endsWith(QLatin1Char('"'))) {
        return value.mid(1, value.size() - 2);
    }
    return value;
}

}  // namespace

QMap<QString, QString> IniSection(const QString& text, const QString& section) {
    QMap<QString, QString> values;
    bool inSection = false;
    for (const QString& raw : text_file::SplitLines(text)) {
        const QString line = raw.trimmed();
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            inSection =
                line.mid(1, line.size() - 2).trimmed().compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (!inSection || equals <= 0 || line.startsWith(QLatin1Char(';'))) continue;
        const QString key = line.left(equals).trimmed().toLower();
        if (!values.contains(key)) {
            values.insert(key, Unquoted(line.mid(equals + 1).trimmed()).left(kMaxValueLength));
        }
    }
    return values;
}

QList<Caption> CaptionsOf(const QMap<QString, QString>& values) {
    QList<Caption> captions;
    for (const CaptionKey& key : kCaptionKeys) {
        const auto value = values.constFind(QString::fromLatin1(key.key).toLower());
        if (value == values.constEnd()) continue;
        captions.append({QString::fromLatin1(key.component), *value});
        for (const char* copy : key.copies) captions.append({QString::fromLatin1(copy), *value});
    }
    return captions;
}

LanguageCaptions LoadLanguage(const QString& startFolder) {
    const QString path = startFolder + QStringLiteral("language.ini");
    if (!QFileInfo::exists(path)) return {};
    const ReadResult<QString> text = text_file::ReadText(path);
    if (!text.ok()) return {{}, text.message()};
    return {CaptionsOf(IniSection(text.value, QStringLiteral("MainMenu"))), {}};
}
