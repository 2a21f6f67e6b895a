#include "file_access.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {

constexpr std::string_view kTemporaryPrefix = ".zuvorak-";
constexpr std::string_view kTemporarySuffix = ".tmp";
constexpr std::size_t kTemporaryRandomChars = 6;
constexpr char kNameChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
// A running save touches its temporary file within seconds; one this old was
// left by a save that was killed.
constexpr std::time_t kLeftoverSeconds = 10 * 60;

class Descriptor {
public:
    explicit Descriptor(int fd)
        : fd_(fd)
    {
    }
    ~Descriptor()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return fd_; }
    // Some file systems report a failed write only when the file is closed.
    int closeReportingError() { return ::close(std::exchange(fd_, -1)) == 0 ? 0 : errno; }

private:
    int fd_;
};

struct FolderAndName {
    std::string folder; // never empty: "." for a bare name
    std::string name;
};

FolderAndName split(const std::string &path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {".", path};
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

std::string inFolder(const std::string &folder, std::string_view name)
{
    return (folder == "/" ? folder : folder + '/') + std::string(name);
}

// Saving through a symbolic link replaces the file it names and keeps the link.
std::string resolveLink(const std::string &path)
{
    struct stat status { };
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
        return path;
    char *target = ::realpath(path.c_str(), nullptr);
    if (!target)
        return path;
    std::string resolved(target);
    std::free(target);
    return resolved;
}

// A temporary folder holds the files of one result, such as a turntable's frames, and no
// folder of its own.
void removeTemporaryFolder(int parent, const char *name)
{
    const int fd = ::openat(parent, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (DIR *dir = fd >= 0 ? ::fdopendir(fd) : nullptr) {
        while (const dirent *entry = ::readdir(dir))
            ::unlinkat(fd, entry->d_name, 0); // fails harmlessly for "." and ".."
        ::closedir(dir);
    } else if (fd >= 0) {
        ::close(fd);
    }
    ::unlinkat(parent, name, AT_REMOVEDIR);
}

void removeOldLeftovers(const std::string &folder)
{
    DIR *dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    const std::time_t now = std::time(nullptr);
    while (const dirent *entry = ::readdir(dir)) {
        struct stat status { };
        if (!isTemporaryFileName(entry->d_name)
            || ::fstatat(::dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0
            || now - status.st_mtime <= kLeftoverSeconds)
            continue;
        if (S_ISREG(status.st_mode))
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        else if (S_ISDIR(status.st_mode))
            removeTemporaryFolder(::dirfd(dir), entry->d_name);
    }
    ::closedir(dir);
}

std::string temporaryPath(const std::string &folder)
{
    static thread_local std::mt19937_64 random {std::random_device {}()};
    std::string name(kTemporaryPrefix);
    for (std::size_t i = 0; i < kTemporaryRandomChars; ++i)
        name += kNameChars[random() % (sizeof kNameChars - 1)];
    return inFolder(folder, name += kTemporarySuffix);
}

// A new file that gets the permissions the umask gives, or those of the file it replaces.
int createTemporary(const std::string &folder, const std::string &target, std::string *path)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        *path = temporaryPath(folder);
        const int fd
            = ::open(path->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno == EEXIST)
            continue;
        struct stat existing { };
        if (fd >= 0 && ::stat(target.c_str(), &existing) == 0 && S_ISREG(existing.st_mode))
            ::fchmod(fd, existing.st_mode & 0777);
        return fd;
    }
    errno = EEXIST;
    return -1;
}

int writeAll(int fd, std::span<const std::uint8_t> bytes)
{
    // A write that stops short is repeated: the repeat names the reason (ENOSPC, EFBIG, EDQUOT).
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? errno : EIO;
        bytes = bytes.subspan(std::size_t(written));
    }
    return 0;
}

int syncFolder(const std::string &folder)
{
    const Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() < 0)
        return 0; // a folder that may be written but not read cannot be opened to sync
    // EINVAL: the file system has nothing to sync for folders.
    return ::fsync(dir.get()) == 0 || errno == EINVAL ? 0 : errno;
}

FileResult writeTemporary(int fd, std::span<const std::uint8_t> bytes)
{
    Descriptor file(fd);
    if (const int error = writeAll(file.get(), bytes))
        return {FileProblem::Write, error};
    if (::fsync(file.get()) != 0)
        return {FileProblem::Write, errno};
    struct stat written { };
    if (::fstat(file.get(), &written) != 0)
        return {FileProblem::Write, errno};
    if (std::uint64_t(written.st_size) != bytes.size())
        return {FileProblem::Write, EIO};
    if (const int error = file.closeReportingError())
        return {FileProblem::Write, error};
    return {};
}

} // namespace

FileResult writeFileAtomically(const std::string &path, std::span<const std::uint8_t> bytes)
{
    if (path.empty())
        return {FileProblem::Create, ENOENT};
    const std::string target = resolveLink(path);
    const FolderAndName parts = split(target);
    if (parts.name.empty() || parts.name == "." || parts.name == "..")
        return {FileProblem::Create, EISDIR};
    if (parts.name.size() > NAME_MAX)
        return {FileProblem::NameTooLong, ENAMETOOLONG};
    if (struct stat existing {};
        ::stat(target.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode))
        return {FileProblem::NotRegularFile, 0};
    // The folder would allow the rename; a file the user made read-only stays as it is.
    if (::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && errno != ENOENT)
        return {FileProblem::Replace, errno};

    removeOldLeftovers(parts.folder);
    std::string temporary;
    const int fd = createTemporary(parts.folder, target, &temporary);
    if (fd < 0)
        return {FileProblem::Create, errno};
    FileResult result = writeTemporary(fd, bytes);
    if (result.ok() && ::rename(temporary.c_str(), target.c_str()) != 0)
        result = {FileProblem::Replace, errno};
    if (!result.ok()) {
        ::unlink(temporary.c_str());
        return result;
    }
    if (const int error = syncFolder(parts.folder))
        return {FileProblem::Replace, error};
    return {};
}

ReadResult readRegularFile(const std::string &path, std::size_t maxBytes, LongFile longFile)
{
    const auto failed = [](FileProblem problem, int error) {
        return ReadResult {{problem, error}, {}};
    };
    const auto openProblem = [](int error) {
        return error == ENOENT || error == ENOTDIR ? FileProblem::NotFound : FileProblem::Open;
    };
    // Checked by path first, so that no device is ever opened; then the open
    // descriptor is checked, as the name may have been given another file meanwhile.
    struct stat status { };
    if (::stat(path.c_str(), &status) != 0)
        return failed(openProblem(errno), errno);
    if (!S_ISREG(status.st_mode))
        return failed(FileProblem::NotRegularFile, 0);
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0)
        return failed(openProblem(errno), errno);
    if (::fstat(file.get(), &status) != 0)
        return failed(FileProblem::Read, errno);
    if (!S_ISREG(status.st_mode))
        return failed(FileProblem::NotRegularFile, 0);
    const std::uint64_t size = std::uint64_t(status.st_size);
    if (longFile == LongFile::Refuse && size > maxBytes)
        return failed(FileProblem::TooLarge, 0);
    ::fcntl(file.get(), F_SETFL, ::fcntl(file.get(), F_GETFL) & ~O_NONBLOCK);

    ReadResult result;
    result.bytes.resize(std::size_t(std::min<std::uint64_t>(size, maxBytes)));
    std::size_t done = 0;
    while (done < result.bytes.size()) {
        const ssize_t got
            = ::read(file.get(), result.bytes.data() + done, result.bytes.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failed(FileProblem::Read, errno);
        if (got == 0)
            break; // cut short while being read: what is there is what the file holds now
        done += std::size_t(got);
    }
    result.bytes.resize(done);
    return result;
}

bool isTemporaryFileName(std::string_view name)
{
    if (name.size() != kTemporaryPrefix.size() + kTemporaryRandomChars + kTemporarySuffix.size()
        || !name.starts_with(kTemporaryPrefix) || !name.ends_with(kTemporarySuffix))
        return false;
    const std::string_view random = name.substr(kTemporaryPrefix.size(), kTemporaryRandomChars);
    return std::all_of(random.begin(), random.end(), [](char c) {
        return std::string_view(kNameChars).find(c) != std::string_view::npos;
    });
}

std::string createTemporaryFolder(const std::string &path)
{
    const std::string folder = split(path).folder;
    removeOldLeftovers(folder);
    for (int attempt = 0; attempt < 100; ++attempt) {
        // The user's usual permissions, as any new folder gets them.
        if (std::string created = temporaryPath(folder); ::mkdir(created.c_str(), 0777) == 0)
            return created;
        if (errno != EEXIST)
            return {};
    }
    errno = EEXIST;
    return {};
}
