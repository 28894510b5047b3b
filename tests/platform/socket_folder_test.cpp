#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/control_socket.h"
#include "platform/mpv_player_link.h"
#include "support/files.h"

namespace {

// The station and --send look for the folder in the shared temporary folder alone.
class SharedTemporaryFolder {
public:
    QString Usual() const { return m_dir.path() + QStringLiteral("/stavox-%1").arg(getuid()); }
    // A folder another user made first (as root; else one open to everyone).
    void Foreign(const QString& path) const {
        const QByteArray native = QFile::encodeName(path);
        ASSERT_EQ(::mkdir(native.constData(), 0700), 0);
        if (::chown(native.constData(), getuid() + 4242, getgid() + 4242) != 0)
            ::chmod(native.constData(), 0777);
    }
    QStringList Entries() const {
        return QDir(m_dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    }

private:
    QTemporaryDir m_dir;
    ScopedEnvironmentVariable m_tmp{"TMPDIR", m_dir.path()}, m_runtime{"XDG_RUNTIME_DIR", ""};
};

TEST(SocketFolder, AFolderNotThisUsersAloneIsPassedOverForOneBothSidesFind) {
    const struct {
        QStringList foreign, open;  // suffixes of folders made beforehand
        QString chosen;
    } cases[] = {
        {{}, {}, ""},
        {{""}, {}, "-1"},
        {{"-1"}, {""}, "-2"},
    };
    for (const auto& c : cases) {
        SharedTemporaryFolder tmp;
        for (const QString& suffix : c.foreign) tmp.Foreign(tmp.Usual() + suffix);
        for (const QString& suffix : c.open)
            ::mkdir(QFile::encodeName(tmp.Usual() + suffix).constData(), 0755);
        EXPECT_EQ(ControlSocketPath(), tmp.Usual() + c.chosen + "/control");
        EXPECT_EQ(ControlSocketPath(), tmp.Usual() + c.chosen + "/control");  // the client's
        struct stat st {};
        ASSERT_EQ(::stat(QFile::encodeName(tmp.Usual() + c.chosen).constData(), &st), 0);
        EXPECT_TRUE(st.st_uid == getuid() && (st.st_mode & 0777) == 0700);
    }
    // With every one taken, the decks' folder of this run alone goes when they do.
    SharedTemporaryFolder tmp;
    for (const QString suffix : {"", "-1", "-2", "-3", "-4", "-5", "-6", "-7", "-8", "-9"})
        tmp.Foreign(tmp.Usual() + suffix);
    const QStringList before = tmp.Entries();
    EXPECT_TRUE(ControlSocketPath().isEmpty());
    std::make_unique<MpvPlayerLink>().reset();
    EXPECT_EQ(tmp.Entries(), before);
}

}  // namespace
