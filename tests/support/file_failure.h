#pragma once

#include <sys/resource.h>

#include <QString>

/// Ways to make a file write really fail, even for root (whom permission bits do not stop).
namespace file_failure {

/// While alive, no file of this process may grow beyond `bytes`: a longer write fails with
/// the system's "File too large" instead of killing the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
};

/// Makes `dir` + "/blocker" a regular file and returns a path below it, whose parent
/// is therefore not a folder: nothing can be created there.
QString PathUnderRegularFile(const QString& dir, const QString& name);

}  // namespace file_failure
