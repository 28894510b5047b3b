#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

/// A station's data folders in a temporary directory: "pro1" with lists of generated
/// MPEG tracks (kept in "music"), "days1" with day files written from a short
/// description, and empty "hour1" and "spots1". Removed with the object.
class StationFolder {
public:
    StationFolder();

    /// One program of a day: weekday (0 Sunday), start and end as "hh:mm" ("24:00" for the
    /// end of the day), and the program value, e.g. {1, "10:00", "12:00", "a|b|"}.
    struct Program {
        int weekday = 0;
        QString start;
        QString end;
        QString value;
    };

    /// The folder itself, without a trailing "/".
    QString StartFolder() const;
    /// The data folders, each ending in "/".
    QString ListsPath() const;
    QString DaysPath() const;
    QString MusicPath() const;
    QString SpotsPath() const;

    /// Generates one MPEG track per length (seconds) and writes the list of their paths.
    /// Tracks are titled "<list> - Track <n>.mp3". Returns the paths in list order.
    QStringList AddList(const QString& name, const QList<int>& trackSeconds);
    /// Writes a list file holding exactly these lines.
    void WriteList(const QString& name, const QStringList& lines);

    /// Writes the day file of every weekday the programs name; each holds those programs
    /// and "###NULL###" elsewhere. Days not named are left as they are.
    void WriteDays(const QList<Program>& programs);

    /// Writes the spot file of a weekday and quarter: these spots at `hour`, nothing else.
    void WriteSpots(int weekday, int quarter, int hour, const QStringList& paths);

private:
    QTemporaryDir m_dir;
};
