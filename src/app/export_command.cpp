#include "commands.h"

#include "export_options.h"
#include "reasons.h"

#include <QCommandLineParser>

namespace CommandLine {

namespace {

class ExportCommand : public Command {
public:
    ExportCommand()
        : Command({QStringLiteral("export"), QStringLiteral("MODEL... -o OUT"),
                   QStringLiteral(
                       "Writes a model file for other programs; OUT's extension picks the kind: "
                       ".ply (a\npoint cloud, binary unless --ascii), .xyz (a point cloud as "
                       "text), .glb (binary\nglTF), .stl (a printable solid) or .3mf (a "
                       "printable solid in colour groups). Into\na folder: .ply unless --format "
                       "says otherwise."),
                   exportKinds(), QStringLiteral("ply")})
    {
    }

    void addOptions(QCommandLineParser &parser) const override { addExportOptions(parser); }

    void readOptions(const QCommandLineParser &parser, const QString &kind) override
    {
        kind_ = kind;
        settings_ = readExportOptions(parser, kind);
    }

    Outcome run(const Job &job) const override
    {
        Model model;
        Outcome outcome;
        if (!openModel(job.input, model, outcome))
            return outcome;
        const ExportResult exported = exportModel(model, kind_, settings_);
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
