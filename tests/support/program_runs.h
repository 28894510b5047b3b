#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <span>

/// One run of a program: its arguments, the exit code it must give, and a text each of its
/// standard output and standard error must hold ("" : the stream must stay empty).
struct ProgramRun {
    QStringList args;
    int exitCode;
    const char* out;
    const char* err;
};

/// Runs the program once per case in the folder with the environment given, and checks
/// each exit code and stream.
inline void ExpectProgramRuns(
    const QString& program, std::span<const ProgramRun> runs,
    const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
    const QString& folder = {}) {
    for (const ProgramRun& run : runs) {
        QProcess p;
        p.setProcessEnvironment(environment);
        if (!folder.isEmpty()) p.setWorkingDirectory(folder);
        p.start(program, run.args);
        ASSERT_TRUE(p.waitForFinished(10'000)) << run.args.join(' ').toStdString();
        EXPECT_EQ(p.exitCode(), run.exitCode) << run.args.join(' ').toStdString();
        for (const auto& [stream, expected] : {std::pair{p.readAllStandardOutput(), run.out},
                                               std::pair{p.readAllStandardError(), run.err}})
            EXPECT_TRUE(*expected ? stream.contains(expected) : stream.isEmpty())
                << run.args.join(' ').toStdString() << ": " << stream.toStdString();
    }
}
