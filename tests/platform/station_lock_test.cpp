#include "platform/station_lock.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLockFile>
#include <QTemporaryDir>

#include "support/files.h"

namespace {

TEST(StationLock, ASecondStationIsRefusedUntilTheFirstIsGone) {
    QTemporaryDir runtime;
    const ScopedEnvironmentVariable privateRuntime("XDG_RUNTIME_DIR", runtime.path());
    {
        const StationLock first = TakeStationLock();
        ASSERT_NE(first.lock, nullptr) << first.warning.toStdString();
        EXPECT_TRUE(QFileInfo::exists(runtime.filePath("stavox/stavox-mixer.lock")))
            << "beside the decks' sockets";
        const StationLock second = TakeStationLock();
        EXPECT_EQ(second.lock, nullptr);
        EXPECT_TRUE(second.refusal.contains(QString::number(QCoreApplication::applicationPid())))
            << second.refusal.toStdString();
    }
    const StationLock again = TakeStationLock();
    EXPECT_NE(again.lock, nullptr) << "the lock goes with its station";
    EXPECT_TRUE(again.refusal.isEmpty() && again.warning.isEmpty());
}

}  // namespace
