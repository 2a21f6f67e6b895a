#include "output.h"

#include "file_access.h"

QString writeOutput(const QString &path, std::span<const std::uint8_t> bytes)
{
    const FileResult result = writeFileAtomically(path.toStdString(), bytes);
    if (result.ok())
        return {};
    const QString reason = result.error ? qt_error_string(result.error) : QStringLiteral("failed");
    switch (result.problem) {
    case FileProblem::Create:
        return QStringLiteral("cannot create a file beside it: ") + reason;
    case FileProblem::Write:
        return QStringLiteral("cannot write: ") + reason;
    case FileProblem::Replace:
        return QStringLiteral("cannot replace it: ") + reason;
    default:
        return reason;
    }
}

QString writeOutput(const QString &path, const QByteArray &bytes)
{
    return writeOutput(path, {reinterpret_cast<const std::uint8_t *>(bytes.constData()),
                              std::size_t(bytes.size())});
}
