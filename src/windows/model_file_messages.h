#pragma once

#include "model_file_io.h"

#include <QString>

// The user's words for a model file that could not be read or written.
QString modelFileFailureText(const QString &path, const ModelFile::FileResult &result,
                             bool writing);
