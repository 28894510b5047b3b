#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

/// Small file and process helpers the tests share.

/// The file's bytes; empty when it cannot be read.
QByteArray ReadBytes(const QString& path);
/// Writes exactly these bytes, failing the test when the file cannot be written.
void WriteBytes(const QString& path, const QByteArray& bytes);
/// Every file (and folder, if asked: a folder's time changes with every file made in it)
/// below `folder` with its size and modification time, sorted, so that a run which
/// creates, rewrites or removes anything shows in a comparison.
QStringList FileTree(const QString& folder, bool withFolders = false);

/// Sets an environment variable for as long as it lives, then restores it (or unsets it
/// when it was not set), however the test ends.
class ScopedEnvironmentVariable {
public:
    ScopedEnvironmentVariable(const char* name, const QString& value);
    ~ScopedEnvironmentVariable();
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
    ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

private:
    const char* m_name;
    bool m_wasSet;
    QByteArray m_old;
};

/// The environment for running the program with a private home, so that its settings
/// go to home + "/.config" and never to the real user's, and its sockets and lock to
/// home + "/run" (XDG_RUNTIME_DIR).
QProcessEnvironment PrivateHomeEnvironment(const QString& home);
