#include "app/settings.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <array>

#include "base/number_text.h"
#include "base/settings_table.h"

namespace {

constexpr ColourValue kBlack = 0x000000;
constexpr ColourValue kLime = 0x00FF00;
constexpr ColourValue kYellow = 0x00FFFF;
constexpr ColourValue kRed = 0x0000FF;
constexpr ColourValue kTeal = 0x808000;
constexpr ColourValue kButtonFace = 0x8000000F;
constexpr ColourValue kWindowText = 0x80000008;
constexpr ColourValue kHighlightText = 0x8000000E;
constexpr std::nullopt_t kNone = std::nullopt;

struct ColourField {
    const char* name;
    std::optional<ColourValue> background;
    std::optional<ColourValue> font;
};

// The stored colours with their defaults, in reading order; an empty side is not stored.
const std::array<ColourField, 25> kColourFields = {{
    {"LabelTrackPlay1", kBlack, kLime},
    {"ListBoxFileListBox", kBlack, kYellow},
    {"ListBoxTitles1", kBlack, kLime},
    {"DirectoryOutline1", kBlack, kYellow},
    {"ListBoxFileProgr1", kBlack, kLime},
    {"ListBoxListAll1", kBlack, kLime},
    {"ListBoxArtist", kBlack, kYellow},
    {"ListBoxArtistTracks", kBlack, kLime},
    {"ListBoxSpots2", kBlack, kLime},
    {"ListBoxProgram1", kBlack, kLime},
    {"FileListBox1", kBlack, kLime},
    {"ListBoxPrevPlayed1", kBlack, kLime},
    {"PanelTrackName1", kBlack, kNone},
    {"PanelTime", kBlack, kNone},
    {"PanelPlayControls", kButtonFace, kNone},
    {"PanelTrackSec", kButtonFace, kNone},
    {"PanelMessages", kBlack, kNone},
    {"LabelMessages", kNone, kButtonFace},
    {"PanelAdv1", kButtonFace, kNone},
    {"LabelBottomAdvert1", kNone, kWindowText},
    {"LabelProgramName1", kTeal, kHighlightText},
    {"LabelTrackName1", kNone, kLime},
    {"ListBoxSpotsNow1", kBlack, kRed},
    {"ListBoxListsForFile", kBlack, kYellow},
    {"ScrollBoxSpots1", kBlack, kNone},
}};

const char* const kColorsGroup = "colors";
const char* const kColorFontsGroup = "ColorFonts";
const char* const kProgramNameLabel = "LabelProgramName1";
// Shown in LabelProgramName1's colours, never stored.
const std::array<const char*, 2> kProgramNameFollowers = {"LabelWra2", "LabelRunProgram"};

std::optional<ColourValue> ReadColour(QSettings& store, const char* group, const char* name,
                                      std::optional<ColourValue> fallback) {
    if (!fallback) return std::nullopt;
    store.beginGroup(QLatin1String(group));
    const std::optional<QString> text = StoredText(store, QLatin1String(name));
    store.endGroup();
    if (!text) return fallback;
    return static_cast<ColourValue>(IntFromText(*text, static_cast<int>(*fallback)));
}

// As a signed 32-bit number, the way the registry has always held them.
QString ColourText(ColourValue colour) { return QString::number(static_cast<qint32>(colour)); }

}  // namespace

QMap<QString, ComponentColours> DefaultColours() {
    QMap<QString, ComponentColours> colours;
    for (const ColourField& field : kColourFields) {
        colours.insert(QLatin1String(field.name), {field.background, field.font});
    }
    for (const char* follower : kProgramNameFollowers) {
        colours.insert(QLatin1String(follower), colours.value(QLatin1String(kProgramNameLabel)));
    }
    return colours;
}

std::optional<QString> StoredValue(const SettingsHomes& homes, const QString& key) {
    for (const SettingsTable* table : homes.tables)
        if (std::optional<QString> text = table->Text(key)) return text;
    return std::nullopt;
}

std::optional<QString> StoredDefault(const SettingsHomes& homes, const QString& key) {
    for (const SettingsTable* table : homes.tables)
        if (std::optional<QString> text = table->DefaultText(key)) return text;
    return std::nullopt;
}

bool SetStoredValue(const SettingsHomes& homes, const QString& key, const QString& text) {
    return std::any_of(homes.tables.begin(), homes.tables.end(),
                       [&](SettingsTable* table) { return table->SetText(key, text); });
}

void ReadSettings(QSettings& store, const SettingsHomes& homes) {
    for (SettingsTable* table : homes.tables) table->Read(store);
    QMap<QString, ComponentColours>& colours = *homes.colours;
    for (const ColourField& field : kColourFields) {
        const QString name = QLatin1String(field.name);
        colours[name] = {ReadColour(store, kColorsGroup, field.name, field.background),
                         ReadColour(store, kColorFontsGroup, field.name, field.font)};
    }
    for (const char* follower : kProgramNameFollowers) {
        colours[QLatin1String(follower)] = colours.value(QLatin1String(kProgramNameLabel));
    }
}

void WriteSettings(QSettings& store, const SettingsHomes& homes) {
    for (const SettingsTable* table : homes.tables) table->Write(store);
    for (const auto& [group, font] : {std::pair{kColorsGroup, false}, {kColorFontsGroup, true}}) {
        store.beginGroup(QLatin1String(group));
        for (const ColourField& field : kColourFields) {
            if (!(font ? field.font : field.background)) continue;
            // A component missing from the map is written with its default, so the store
            // always holds the whole table.
            const ComponentColours colours =
                homes.colours->value(QLatin1String(field.name), {field.background, field.font});
            const std::optional<ColourValue> colour = font ? colours.font : colours.background;
            const ColourValue fallback = font ? *field.font : *field.background;
            store.setValue(QLatin1String(field.name), ColourText(colour.value_or(fallback)));
        }
        store.endGroup();
    }
}

namespace {

bool IsRegistry([[maybe_unused]] const QSettings& store) {
#ifdef Q_OS_WIN
    return store.format() == QSettings::NativeFormat;
#else
    return false;
#endif
}

// QSettings shares what it read of a file among all its objects on that path, so the file
// is read back through another path: a link to it in a folder of its own.
bool FileHoldsEveryValue(const QSettings& store) {
    const QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("written.conf"));
    if (!dir.isValid() || !QFile::link(store.fileName(), link)) return false;
    const QSettings written(link, QSettings::IniFormat);
    if (written.status() != QSettings::NoError) return false;
    const QStringList keys = store.allKeys();
    return std::all_of(keys.begin(), keys.end(),
                       [&](const QString& key) { return written.value(key) == store.value(key); });
}

constexpr qint64 kEmptyLockMs = 100;

qint64 StoredSize(const QSettings& store) {
    qint64 bytes = 64;  // the group lines
    for (const QString& key : store.allKeys())
        bytes += key.size() + store.value(key).toString().size() + 2;
    return bytes;
}

// QSettings keeps the system's reason to itself: a file of the store's size, written in
// its place and dropped, hears it again.
QString WriteRefusal(const QString& path, qint64 bytes) {
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return probe.errorString();
    const QByteArray block(bytes, ' ');
    for (qint64 written = 0; written < bytes;) {
        const qint64 n = probe.write(block.constData() + written, bytes - written);
        if (n <= 0) break;
        written += n;
    }
    const QString reason = probe.error() == QFileDevice::NoError ? QString() : probe.errorString();
    probe.cancelWriting();
    return reason;
}

// QSettings waits 30 s on a lock file that a writer killed between making it and naming
// itself in it left empty. A live writer names itself at once, so an empty lock 100 ms old
// is nobody's: it is removed here (after at most that long a wait) and the write goes on.
// (Qt's temporary files such a kill leaves, "Stavox.conf.AbcDef", stay: a name of that shape
// may as well be the operator's own copy.)
void ClearStaleLock(const QString& storePath) {
    const QString lockPath = storePath + QStringLiteral(".lock");
    QFileInfo lock(lockPath);
    if (!lock.exists() || lock.size() != 0) return;
    const qint64 age = lock.lastModified().msecsTo(QDateTime::currentDateTime());
    if (age < kEmptyLockMs)
        QThread::msleep(std::clamp<qint64>(kEmptyLockMs - age, 0, kEmptyLockMs));
    lock.refresh();
    if (lock.exists() && lock.size() == 0) QFile::remove(lockPath);
}

}  // namespace

QString SaveSettings(QSettings& store, const SettingsHomes& homes) {
    if (!IsRegistry(store)) ClearStaleLock(store.fileName());
    WriteSettings(store, homes);
    store.sync();
    // It holds the streams' passwords: for its user's eyes only.
    if (!IsRegistry(store))
        QFile::setPermissions(store.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const bool stored =
        IsRegistry(store) ? store.status() == QSettings::NoError : FileHoldsEveryValue(store);
    if (stored) return {};
    const QString message =
        QStringLiteral("The settings could not be written to ") + store.fileName();
    const QString reason =
        IsRegistry(store) ? QString() : WriteRefusal(store.fileName(), StoredSize(store));
    return reason.isEmpty() ? message : message + QStringLiteral(": ") + reason;
}

QString SettingsReadProblem(const QSettings& store) {
    switch (store.status()) {
        case QSettings::NoError:
            return {};
        case QSettings::FormatError:
            return QStringLiteral(
                       "The settings in %1 are damaged: what could not be read is "
                       "at its default")
                .arg(store.fileName());
        case QSettings::AccessError:
            break;
    }
    return QStringLiteral("The settings in %1 could not be read: the defaults are in use")
        .arg(store.fileName());
}

std::unique_ptr<QSettings> OpenStationSettings() {
    return std::make_unique<QSettings>(QStringLiteral("Kelmar"), QStringLiteral("Stavox"));
}
