#pragma once

// Reading and writing whole files safely, for the model file and the pictures
// alike. Plain POSIX, no Qt. Paths are UTF-8.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Which step failed.
enum class FileProblem {
    None,
    NotFound,
    NotRegularFile, // a folder, a named pipe, a device
    NameTooLong, // a name longer than the file system allows
    TooLarge,
    Open,
    Read,
    Create, // the temporary file beside the target
    Write,
    Replace, // the rename over the target, or syncing its folder
};

struct FileResult {
    FileProblem problem = FileProblem::None;
    int error = 0; // the system's error number of the failed step, 0 if it gave none

    bool ok() const { return problem == FileProblem::None; }
};

// Writes a temporary file of the program's own name pattern beside the target,
// checks that every byte reached the disk, and renames it over the target; the
// folder is synced too. On failure the target is untouched and nothing is left
// behind. Temporary files of killed saves older than a few minutes are removed
// from the folder first. A symbolic link is saved through, and an existing
// file keeps its permissions; one the user may not write is not replaced, and
// anything that is not a regular file (a device, a named pipe, a folder, or a
// link to one) is never written over.
FileResult writeFileAtomically(const std::string &path, std::span<const std::uint8_t> bytes);

enum class LongFile {
    Refuse, // larger than maxBytes: TooLarge, nothing read
    ReadStart, // only its first maxBytes are read
};

struct ReadResult {
    FileResult result;
    std::vector<std::uint8_t> bytes;
};

// Reads a regular file through one descriptor opened without blocking; a
// folder, a named pipe or a device is refused, also when swapped in at the
// last moment.
ReadResult readRegularFile(const std::string &path, std::size_t maxBytes,
                           LongFile longFile = LongFile::Refuse);

// A new, empty folder of the temporary name pattern beside `path`, for a result of several
// files that is renamed into place when whole; old leftovers there are removed first, as
// writeFileAtomically does. Empty on failure, with errno set.
std::string createTemporaryFolder(const std::string &path);

// Whether a name in a folder is one of the temporary files or folders above.
bool isTemporaryFileName(std::string_view name);
