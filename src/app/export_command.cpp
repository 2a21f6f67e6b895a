#include "commands.h"

#include "document.h"
#include "export_options.h"

#include <QCommandLineParser>

namespace CommandLine {

namespace {

class ExportCommand : public Command {
public:
    QString name() const override { return QStringLiteral("export"); }
    QString synopsis() const override { return QStringLiteral("MODEL... -o OUT"); }
    QString description() const override
    {
        return QStringLiteral(
            "Writes a model file for other programs; OUT's extension picks the kind: .ply (a\n"
            "point cloud, binary unless --ascii), .xyz (a point cloud as text), .glb (binary\n"
            "glTF), .stl (a printable solid) or .3mf (a printable solid in colour groups). Into\n"
            "a folder: .ply unless --format says otherwise.");
    }
    QStringList kinds() const override { return exportKinds(); }
    QString folderKind() const override { return QStringLiteral("ply"); }

    void addOptions(QCommandLineParser &parser) const override { addExportOptions(parser); }

    void readOptions(const QCommandLineParser &parser, const QString &kind) override
    {
        kind_ = kind;
        settings_ = readExportOptions(parser, kind);
    }

    Outcome run(const Job &job) const override
    {
        Document document;
        Outcome outcome;
        if (!openModel(document, job.input, outcome))
            return outcome;
        const ExportResult exported = exportModel(document.model(), kind_, settings_);
        if (!exported.ok())
            return Outcome::failed(InputRefused, job.input,
                                   QStringLiteral("cannot be exported: ")
                                       + exportFailureReason(exported.error));
        outcome = writeResult(job.output, exported.bytes);
        if (outcome.status == Written && exported.nonFinite > 0)
            outcome.messages << job.input
                                    + QStringLiteral(": %1 points left out: a coordinate is not "
                                                     "finite or too large")
                                          .arg(exported.nonFinite);
        return outcome;
    }

private:
    QString kind_;
    ExportOptions settings_;
};

} // namespace

std::unique_ptr<Command> exportCommand()
{
    return std::make_unique<ExportCommand>();
}

} // namespace CommandLine
