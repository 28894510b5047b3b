#include "platform/station_lock.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLockFile>
#include <QTemporaryDir>

namespace {

TEST(StationLock, ASecondStationIsRefusedUntilTheFirstIsGone) {
    QTemporaryDir runtime;
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QString refusal;
    {
        const auto first = TakeStationLock(&refusal);
        ASSERT_NE(first, nullptr) << refusal.toStdString();
        EXPECT_EQ(TakeStationLock(&refusal), nullptr);
        EXPECT_TRUE(refusal.contains(QString::number(QCoreApplication::applicationPid())))
            << refusal.toStdString();
    }
    EXPECT_NE(TakeStationLock(&refusal), nullptr) << "the lock goes with its station";
    qputenv("XDG_RUNTIME_DIR", saved);
}

}  // namespace
