#pragma once

#include "model_file_io.h"

#include <QString>

class QWidget;

// The user's words for a model file that could not be read or written.
QString modelFileFailureText(const QString &path, const ModelFile::FileResult &result,
                             bool writing);

// Saves the model with the busy pointer; a failure is shown in the error box.
bool saveModelReporting(QWidget *parent, const ProgramState &state, const QString &path);

// Loads the model; a failure is shown in the error box and leaves the model
// as it was.
bool loadModelReporting(QWidget *parent, ProgramState &state, const QString &path);
