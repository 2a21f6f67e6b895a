#pragma once

#include "export_kinds.h"

#include <QString>
#include <QStringList>

class QCommandLineParser;

namespace CommandLine {

// The export kinds and their options, as the command line reads them for export and import alike.
// `depthColours`: the command has --depth-colour, whose groups --colours counts too, so that
// --colours fits every kind there.
QStringList exportKinds();
void addExportOptions(QCommandLineParser &parser, bool depthColours = false);
// The solids' options alone: sizes, heights, the nozzle and thickening.
void addSolidOptions(QCommandLineParser &parser);
// Throws UsageError for an option that does not fit the kind or a value out of range.
ExportOptions readExportOptions(const QCommandLineParser &parser, const QString &kind,
                                bool depthColours = false);
ExportResult exportModel(const Model &model, const QString &kind, const ExportOptions &options);

} // namespace CommandLine
