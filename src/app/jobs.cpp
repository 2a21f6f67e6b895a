#include "jobs.h"

#include "picture_file.h"

#include <QFile>
#include <QMutex>
#include <QThreadPool>

#include <algorithm>
#include <cstdio>
#include <unistd.h>
#include <vector>

namespace CommandLine {

namespace {

class Reporter {
public:
    Reporter(const QString &command, qsizetype total)
        : prefix_(QStringLiteral("zuvorak ") + command + QStringLiteral(": "))
        , total_(total)
        , showsProgress_(total > 1 && isatty(STDERR_FILENO))
    {
    }

    void finished(const Outcome &outcome)
    {
        const QMutexLocker lock(&mutex_);
        ++done_;
        failed_ += outcome.status != Written;
        clearProgress();
        for (const QString &message : outcome.messages)
            std::fprintf(stderr, "%s\n", qPrintable(prefix_ + message));
        if (showsProgress_ && done_ < total_)
            std::fprintf(stderr, "%s%lld of %lld done, %lld failed", qPrintable(prefix_),
                         qlonglong(done_), qlonglong(total_), qlonglong(failed_));
        std::fflush(stderr);
    }

private:
    void clearProgress()
    {
        if (showsProgress_ && done_ > 1)
            std::fputs("\r\033[K", stderr);
    }

    QMutex mutex_;
    QString prefix_;
    qsizetype total_;
    bool showsProgress_;
    qsizetype done_ = 0;
    qsizetype failed_ = 0;
};

} // namespace

int defaultJobCount(int cores, qint64 availableBytes)
{
    constexpr qint64 kJobBytes = qint64(kPictureAllocationLimitMB + 128) << 20;
    return int(std::clamp<qint64>(availableBytes / kJobBytes, 1, std::max(cores, 1)));
}

qint64 availableMemory()
{
    QFile meminfo(QStringLiteral("/proc/meminfo"));
    if (meminfo.open(QIODevice::ReadOnly))
        for (QByteArray line; !(line = meminfo.readLine()).isEmpty();)
            if (line.startsWith("MemAvailable:"))
                return line.mid(13).trimmed().split(' ').value(0).toLongLong() * 1024;
    return qint64(::sysconf(_SC_AVPHYS_PAGES)) * ::sysconf(_SC_PAGESIZE);
}

Status runJobs(const Command &command, const QList<Job> &jobs, int threads)
{
    Reporter reporter(command.name(), jobs.size());
    std::vector<Outcome> outcomes(std::size_t(jobs.size()));
    const auto work = [&](qsizetype i) {
        Outcome &outcome = outcomes[std::size_t(i)];
        outcome = command.run(jobs[i]);
        reporter.finished(outcome);
    };
    if (threads <= 1 || jobs.size() == 1) {
        for (qsizetype i = 0; i < jobs.size(); ++i)
            work(i);
    } else {
        QThreadPool pool;
        pool.setMaxThreadCount(threads);
        for (qsizetype i = 0; i < jobs.size(); ++i)
            pool.start([&work, i] { work(i); });
        pool.waitForDone();
    }
    Status status = Written;
    for (const Outcome &outcome : std::as_const(outcomes)) {
        std::fputs(qPrintable(outcome.printed), stdout);
        status = std::max(status, outcome.status);
    }
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "zuvorak %s: standard output: not written\n",
                     qPrintable(command.name()));
        status = OutputFailed;
    }
    return status;
}

} // namespace CommandLine
