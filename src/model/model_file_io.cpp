#include "model_file_io.h"

#include "file_access.h"

namespace ModelFile {

namespace {

FileResult failure(FileError error, int systemError)
{
    FileResult result;
    result.error = error;
    result.systemError = systemError;
    return result;
}

FileError readError(FileProblem problem)
{
    switch (problem) {
    case FileProblem::NotFound:
        return FileError::NotFound;
    case FileProblem::NotRegularFile:
        return FileError::NotRegularFile;
    case FileProblem::Open:
        return FileError::CannotOpen;
    default:
        return FileError::ReadFailed;
    }
}

} // namespace

FileResult save(const Model &model, const std::string &path)
{
    const ::FileResult written = writeFileAtomically(path, encode(model));
    if (written.problem == FileProblem::NotRegularFile)
        return failure(FileError::NotRegularFile, 0);
    if (!written.ok())
        return failure(FileError::WriteFailed, written.error);
    return {};
}

FileResult load(const std::string &path, ParsedModel &parsed)
{
    // Bytes past the longest model are never looked at, so they are not read.
    const ReadResult read = readRegularFile(path, kMaxMeaningfulBytes, LongFile::ReadStart);
    if (!read.result.ok())
        return failure(readError(read.result.problem), read.result.error);

    const DecodeResult decoded = decode(read.bytes);
    if (!decoded.ok()) {
        FileResult result = failure(FileError::Invalid, 0);
        result.decodeError = decoded.error;
        result.count = decoded.count;
        return result;
    }
    parsed = decoded.model;
    return {};
}

} // namespace ModelFile
