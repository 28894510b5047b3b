// The settings file read into a room's values and the colours, saved and read again: what
// was read survives the round trip.
#include "app/settings.h"

#include <QSettings>

#include "base/settings_table.h"
#include "scratch.h"

namespace {

struct Values {
    QString text = QStringLiteral("default");
    int number = 7;
    bool flag = true;
    quint8 byte = 3;
    QMap<QString, ComponentColours> colours = DefaultColours();
    SettingsTable table;
    Values() { table.Add("Text", text).Add("Number", number).Add("Flag", flag).Add("Byte", byte); }
    bool operator==(const Values& o) const {
        return text == o.text && number == o.number && flag == o.flag && byte == o.byte &&
               colours == o.colours;
    }
    void Read(QSettings& store) { ReadSettings(store, {{&table}, &colours}); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int run = 0;
    const QString name = QStringLiteral("settings-%1.ini").arg(++run);
    const QString path = WriteScratch(name, data, size);
    Values read;
    {
        QSettings store(path, QSettings::IniFormat);
        read.Read(store);
        SettingsReadProblem(store);
    }
    QFile::remove(path);
    const QString savedPath = ScratchFolder() + QStringLiteral("saved-") + name;
    {
        QSettings saved(savedPath, QSettings::IniFormat);
        if (!SaveSettings(saved, {{&read.table}, &read.colours}).isEmpty()) std::abort();
    }
    Values again;
    {
        QSettings saved(savedPath, QSettings::IniFormat);
        again.Read(saved);
    }
    QFile::remove(savedPath);
    if (!(again == read)) std::abort();
    return 0;
}
