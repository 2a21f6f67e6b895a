#pragma once

#include "command.h"

#include <QList>

namespace CommandLine {

// How many inputs run at once by default: one a core, but no more than the memory available
// holds, each job allowed a picture of the allocation limit and what is made of it.
int defaultJobCount(int cores, qint64 availableBytes);
// The memory the system says a new program may take without swapping.
qint64 availableMemory();

// Runs every job, `threads` at a time, and reports as it goes: each failure
// and warning on standard error at once, a progress line there too when it is
// a terminal, and what the jobs print on standard output in the inputs' order.
// The highest status of all jobs.
Status runJobs(const Command &command, const QList<Job> &jobs, int threads);

} // namespace CommandLine
