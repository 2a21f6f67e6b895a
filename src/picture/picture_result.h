#pragma once

#include <string>

// Why a picture could not be read or written.
enum class PictureError {
    None,
    NotFound,
    NotRegularFile,
    TooLarge,
    Truncated,
    TooManyScans, // a JPEG of more scans than any real picture has
    Unreadable,
    ReadFailed,
    WriteFailed,
};

struct PictureResult {
    PictureError error = PictureError::None;
    std::string detail; // the decoding library's own words, if it gave any
    int systemError = 0; // the system's error number (errno), 0 if it gave none

    bool ok() const { return error == PictureError::None; }
};
