#pragma once

#include "model_file.h"

#include <string>

// Reading and writing model files on disk. Paths are UTF-8.
namespace ModelFile {

enum class FileError {
    None,
    NotFound,
    NotRegularFile, // a folder, a named pipe, a device
    CannotOpen,
    ReadFailed,
    WriteFailed,
    Invalid, // read, but the bytes are no model: see decodeError
};

struct FileResult {
    FileError error = FileError::None;
    DecodeError decodeError = DecodeError::None;
    std::int64_t count = 0; // the count found in an invalid file
    int systemError = 0; // the system's error number (errno), 0 if it gave none

    bool ok() const { return error == FileError::None; }
};

// Writes the model beside the target, synced to the disk, and renames it over
// the target only then, so a failed save leaves an existing file as it was.
FileResult save(const Model &model, const std::string &path);

// Reads and checks the whole file; `parsed` is set only when it holds a model.
FileResult load(const std::string &path, ParsedModel &parsed);

} // namespace ModelFile
