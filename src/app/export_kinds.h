#pragma once

#include "export.h"

#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace CommandLine {

// The export library's options, as the command line reads them for export and import alike.
using ExportSettings = ExportOptions;

QStringList exportKinds();
void addExportOptions(QCommandLineParser &parser);
// Throws UsageError for an option that does not fit the kind or a value out of range.
ExportSettings readExportOptions(const QCommandLineParser &parser, const QString &kind);
ExportResult exportModel(const Model &model, const QString &kind, const ExportSettings &settings);

} // namespace CommandLine
