#pragma once

#include "export.h"
#include "file_access.h"
#include "model_file_io.h"
#include "picture_result.h"

#include <QString>

// The user's words for every kind of failure the libraries report, each from one table.

// A system error number (errno); the system's own words for rare ones.
QString systemErrorText(int error);

// "ファイル %1 を読み込めません。" or "に書き込めません。" with the reason.
QString cannotReadText(const QString &path, const QString &reason);
QString cannotWriteText(const QString &path, const QString &reason);

// Why a file could not be written, as the one writer reports it.
QString writeFailureText(const FileResult &result);
QString pictureFailureText(const QString &path, const PictureResult &result, bool writing);
QString modelFileFailureText(const QString &path, const ModelFile::FileResult &result,
                             bool writing);
QString exportFailureText(ExportError error);
