#include "base/station_error.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>

#include "support/files.h"

namespace {

using station_error::Severity;

// Under a service manager standard error is the journal's stream, named in JOURNAL_STREAM:
// each line then carries its priority; written anywhere else, the lines stay as they were.
TEST(StationError, LinesCarryTheirPriorityOnlyWhenTheStreamIsTheJournal) {
    QTemporaryDir dir;
    const QString path = dir.filePath("stderr");
    std::FILE* file = std::fopen(QFile::encodeName(path).constData(), "w");
    ASSERT_TRUE(file);
    struct stat st {};
    ASSERT_EQ(::fstat(::fileno(file), &st), 0);
    const QString itself = QStringLiteral("%1:%2").arg(st.st_dev).arg(st.st_ino);
    const struct {
        QString journal;
        Severity severity;
        const char* written;
    } cases[] = {
        {itself, Severity::Error, "<3>one\n<3>two\n"},
        {itself, Severity::Warning, "<4>one\n<4>two\n"},
        {itself, Severity::Info, "<6>one\n<6>two\n"},
        {QStringLiteral("%1:%2").arg(st.st_dev).arg(st.st_ino + 1), Severity::Error, "one\ntwo\n"},
        {{}, Severity::Error, "one\ntwo\n"},
    };
    station_error::SetStream(file);
    for (const auto& c : cases) {
        const ScopedEnvironmentVariable journal("JOURNAL_STREAM", c.journal);
        ASSERT_EQ(::ftruncate(::fileno(file), 0), 0);
        std::rewind(file);
        station_error::Print(QStringLiteral("one\ntwo"), c.severity);
        EXPECT_EQ(ReadBytes(path), c.written) << c.journal.toStdString();
    }
    station_error::SetStream(nullptr);
    std::fclose(file);
}

}  // namespace
