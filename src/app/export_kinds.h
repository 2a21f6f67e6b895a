#pragma once

#include "export.h"

#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace CommandLine {

// The export library's kinds and their options, for export and import alike.
struct ExportSettings {
    PlyOptions ply;
    SolidOptions solid;
};

QStringList exportKinds();
void addExportOptions(QCommandLineParser &parser);
// Throws UsageError for an option that does not fit the kind or a value out of range.
ExportSettings readExportOptions(const QCommandLineParser &parser, const QString &kind);
ExportResult exportModel(const Model &model, const QString &kind, const ExportSettings &settings);

} // namespace CommandLine
