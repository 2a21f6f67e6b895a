#include "turntable_file.h"

#include "file_access.h"
#include "picture_file.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

PictureResult systemFailure(int error)
{
    return {PictureError::WriteFailed, {}, error};
}

// Counts every step of a write and asks whether to go on.
class Steps {
public:
    Steps(const Animation::Progress &progress, int total)
        : progress_(progress)
        , total_(total)
    {
    }

    bool advance()
    {
        ++done_;
        cancelled_ = cancelled_ || (progress_ && !progress_(done_, total_));
        return !cancelled_;
    }
    bool cancelled() const { return cancelled_; }

private:
    const Animation::Progress &progress_;
    int total_;
    int done_ = 0;
    bool cancelled_ = false;
};

TurntableResult writeAnimation(const Model &model, const TurntableOptions &options,
                               const QString &path, TurntableFormat format,
                               const Animation::Progress &progress)
{
    const int count = int(turntableAngles(options).size());
    Steps steps(progress, 2 * count + 1);
    const std::vector<Animation::Frame> frames
        = renderTurntable(model, options, [&](int, int) { return steps.advance(); });
    if (steps.cancelled())
        return {.cancelled = true};
    const Animation::Progress encoded = [&](int, int) { return steps.advance(); };
    const Animation::Encoded animation
        = format == TurntableFormat::WebP
              ? Animation::encodeAnimatedWebP(frames, options.delayMs, encoded)
              : Animation::encodeAnimatedGif(frames, options.delayMs, encoded);
    if (steps.cancelled())
        return {.cancelled = true};
    // The options are within the encoders' limits: only memory or the library can fail.
    if (animation.error == Animation::Error::OutOfMemory)
        return {.written = systemFailure(ENOMEM)};
    if (!animation.ok())
        return {.written = {PictureError::WriteFailed, {}, 0}};
    const PictureResult written = writeBytesAtomically(path, animation.bytes);
    steps.advance();
    return {.written = written};
}

// A new, empty folder beside `path`, removed again unless it is kept.
class FolderBeside {
public:
    explicit FolderBeside(const QString &path)
    {
        const std::string created = createTemporaryFolder(path.toStdString());
        error_ = created.empty() ? errno : 0;
        path_ = QString::fromStdString(created);
    }
    ~FolderBeside()
    {
        if (!path_.isEmpty() && !kept_)
            QDir(path_).removeRecursively();
    }
    FolderBeside(const FolderBeside &) = delete;
    FolderBeside &operator=(const FolderBeside &) = delete;

    bool created() const { return !path_.isEmpty(); }
    int error() const { return error_; }
    QString filePath(const QString &name) const { return QDir(path_).filePath(name); }

    // Renamed to `path` only if nothing of that name exists.
    bool renameTo(const QString &path)
    {
        const QByteArray from = QFile::encodeName(path_);
        const QByteArray to = QFile::encodeName(path);
        int result
            = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
        if (result != 0 && errno == EINVAL) // a file system without RENAME_NOREPLACE
            result = QFileInfo::exists(path) ? (errno = EEXIST, -1)
                                             : std::rename(from.constData(), to.constData());
        error_ = errno;
        kept_ = result == 0;
        return kept_;
    }

private:
    QString path_;
    int error_ = 0;
    bool kept_ = false;
};

TurntableResult writeFolder(const Model &model, const TurntableOptions &options,
                            const QString &path, const Animation::Progress &progress)
{
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return {.written = systemFailure(EEXIST)};
    FolderBeside folder(path);
    if (!folder.created())
        return {.written = systemFailure(folder.error())};
    TurntableRenderer renderer(model, options);
    Steps steps(progress, renderer.frameCount() + 1);
    for (int i = 0; i < renderer.frameCount(); ++i) {
        const QByteArray png = encodePicture(renderer.render(i), "png");
        if (png.isEmpty())
            return {.written = {PictureError::WriteFailed, {}, 0}};
        const QString name = QStringLiteral("frame-%1.png").arg(i, 3, 10, QLatin1Char('0'));
        const PictureResult written = writeBytesAtomically(
            folder.filePath(name),
            {reinterpret_cast<const std::uint8_t *>(png.constData()), std::size_t(png.size())});
        if (!written.ok())
            return {.written = written};
        if (!steps.advance())
            return {.cancelled = true};
    }
    if (!folder.renameTo(path))
        return {.written = systemFailure(folder.error())};
    steps.advance();
    return {};
}

} // namespace

TurntableFormat turntableFormatOf(const QString &path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("webp"))
        return TurntableFormat::WebP;
    if (suffix == QLatin1String("gif"))
        return TurntableFormat::Gif;
    return TurntableFormat::PngFolder;
}

TurntableResult writeTurntable(const Model &model, const TurntableOptions &options,
                               const QString &path, TurntableFormat format,
                               const Animation::Progress &progress)
{
    if (!hasDrawablePoint(model))
        return {.nothingToDraw = true};
    if (format == TurntableFormat::PngFolder)
        return writeFolder(model, withinLimits(options), path, progress);
    return writeAnimation(model, withinLimits(options), path, format, progress);
}
