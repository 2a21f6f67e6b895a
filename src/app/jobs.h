#pragma once

#include "command.h"

#include <QList>

namespace CommandLine {

// Runs every job, `threads` at a time, and reports as it goes: each failure
// and warning on standard error at once, a progress line there too when it is
// a terminal, and what the jobs print on standard output in the inputs' order.
// The highest status of all jobs.
Status runJobs(const Command &command, const QList<Job> &jobs, int threads);

} // namespace CommandLine
