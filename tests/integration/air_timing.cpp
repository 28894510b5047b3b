#include "air_timing.h"

#include <QDir>

#include "support/files.h"

ShortTrackStation::ShortTrackStation() {
    folder.AddList("short", QList<int>(6, kTrackSeconds));
    QList<StationFolder::Program> week;
    for (int day = 0; day < 7; ++day) week.append({day, "00:00", "24:00", "short"});
    folder.WriteDays(week);
    QDir().mkpath(home.path() + "/.config/Kelmar");
    WriteBytes(SettingsFile(), QStringLiteral("[General]\nMixingTime=%1\nWaitSecInBeggining=1\n")
                                   .arg(kMixingSeconds)
                                   .toUtf8());
}

QString ShortTrackStation::SettingsFile() const {
    return home.path() + "/.config/Kelmar/Stavox.conf";
}
