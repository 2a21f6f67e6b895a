#pragma once

// File-system faults for tests: a file-size limit, a really full file system, another user.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <csignal>
#include <functional>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Runs `body` in a child process, as the user nobody where this one is root; the
// child's exit status is `body`'s return value, and -1 is returned if it did not exit.
inline int runAsNobody(const std::function<int()> &body)
{
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            ::_exit(255);
        ::_exit(body());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

// Files of this process cannot grow past `bytes` while the object lives; SIGXFSZ is
// ignored, as the program does, so that such a write fails with EFBIG.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        const rlimit limited {bytes, saved_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &saved_); }
    Q_DISABLE_COPY(FileSizeLimit)

private:
    rlimit saved_ {};
};

// A small tmpfs mounted on a folder for the lifetime of the object; mounting needs root, so
// callers that need it use REQUIRE_READER on mounted().
class SmallTmpfs {
public:
    SmallTmpfs(const QString &folder, int kibibytes)
        : folder_(QFile::encodeName(folder))
    {
        const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k";
        mounted_ = ::mount("tmpfs", folder_.constData(), "tmpfs", 0, options.constData()) == 0;
    }
    ~SmallTmpfs()
    {
        if (mounted_)
            ::umount2(folder_.constData(), MNT_DETACH);
    }
    Q_DISABLE_COPY(SmallTmpfs)

    bool mounted() const { return mounted_; }

private:
    QByteArray folder_;
    bool mounted_ = false;
};

// Fills the file system of `folder` with one file until it is full, then
// gives `leaveBytes` back, so that a write of more than that fails part-way.
inline bool fillUp(const QString &folder, qint64 leaveBytes)
{
    QFile filler(QDir(folder).filePath(QStringLiteral("filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) { }
    return filler.resize(std::max<qint64>(0, filler.size() - leaveBytes));
}
