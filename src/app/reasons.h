#pragma once

#include "export.h"
#include "file_access.h"
#include "model_file_io.h"
#include "picture_result.h"

#include <QString>

// Why a file could not be used, in English for standard error: one table a kind of failure.
namespace CommandLine {

QString modelFailureReason(const ModelFile::FileResult &result);
QString pictureFailureReason(const PictureResult &result);
QString exportFailureReason(ExportError error);
QString writeFailureReason(const FileResult &result);

} // namespace CommandLine
