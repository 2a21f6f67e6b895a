#include "commands.h"

#include "reasons.h"
#include "turntable_file.h"

#include <QCommandLineParser>

namespace CommandLine {

namespace {

class TurntableCommand : public Command {
public:
    TurntableCommand()
        : Command({QStringLiteral("turntable"),
                   QStringLiteral("MODEL... -o OUT.webp|OUT.gif|FOLDER/"),
                   QStringLiteral(
                       "Writes the model turning once about its vertical axis, each frame as the "
                       "large view\ndraws it: a looping animated WebP (lossless), a looping "
                       "animated GIF or, for one\ninput and a FOLDER/ that does not exist yet, a "
                       "new folder of numbered PNG frames.\nInto a folder of results: .webp "
                       "unless --format gif or png (a folder of frames\nfor each input)."),
                   {QStringLiteral("webp"), QStringLiteral("gif"), QStringLiteral("png")},
                   QStringLiteral("webp"),
                   QStringLiteral("png")})
    {
    }

    void addOptions(QCommandLineParser &parser) const override
    {
        parser.addOptions({
            {QStringLiteral("frames"),
             QStringLiteral("The number of frames, %1 to %2 (%3).")
                 .arg(kMinTurntableFrames)
                 .arg(kMaxTurntableFrames)
                 .arg(TurntableOptions {}.frames),
             QStringLiteral("N")},
            {QStringLiteral("size"),
             QStringLiteral("The frames' width and height in pixels, %1 to %2 (%3).")
                 .arg(kMinTurntableSize)
                 .arg(kMaxTurntableSize)
                 .arg(TurntableOptions {}.size),
             QStringLiteral("N")},
            {QStringLiteral("delay"),
             QStringLiteral("How long each frame shows in milliseconds, %1 to %2 (%3).")
                 .arg(kMinTurntableDelay)
                 .arg(kMaxTurntableDelay)
                 .arg(TurntableOptions {}.delayMs),
             QStringLiteral("MS")},
            {QStringLiteral("turn"), QStringLiteral("The turn of the first frame in degrees (0)."),
             QStringLiteral("A")},
            {QStringLiteral("tilt"), QStringLiteral("The tilt of every frame in degrees (0)."),
             QStringLiteral("B")},
            {QStringLiteral("about-view-centre"),
             QStringLiteral("Turns the model about the view centre at the large view's fitted "
                            "size, instead of about the middle of its bounding box with every "
                            "frame holding the whole model.")},
        });
        addPointStyleOptions(parser);
    }

    void readOptions(const QCommandLineParser &parser, const QString &kind) override
    {
        format_ = kind == QLatin1String("webp")  ? TurntableFormat::WebP
                  : kind == QLatin1String("gif") ? TurntableFormat::Gif
                                                 : TurntableFormat::PngFolder;
        const struct {
            const char *option;
            int *value;
            int low;
            int high;
        } integers[] = {
            {"frames", &options_.frames, kMinTurntableFrames, kMaxTurntableFrames},
            {"size", &options_.size, kMinTurntableSize, kMaxTurntableSize},
            {"delay", &options_.delayMs, kMinTurntableDelay, kMaxTurntableDelay},
        };
        for (const auto &integer : integers)
            if (parser.isSet(QString(integer.option)))
                *integer.value
                    = integerOption(parser, QString(integer.option), integer.low, integer.high);
        readPointStyle(parser, options_.style);
        options_.aboutCentre = !parser.isSet(QStringLiteral("about-view-centre"));
        readAngles(parser, options_.start.turn, options_.start.tilt);
    }

    Outcome run(const Job &job) const override
    {
        Model model;
        Outcome outcome;
        if (!openModel(job.input, model, outcome))
            return outcome;
        // The windows' own writer: the same files, and a folder appears whole or not at all.
        const TurntableResult result = writeTurntable(model, options_, job.output, format_);
        if (result.ok())
            return {};
        if (result.nothingToDraw)
            return Outcome::failed(
                InputRefused, job.input,
                QStringLiteral("nothing to draw: no point has finite coordinates within a "
                               "float's range"));
        return Outcome::failed(OutputFailed, job.output,
                               QStringLiteral("not written: ")
                                   + pictureFailureReason(result.written));
    }

private:
    TurntableOptions options_;
    TurntableFormat format_ = TurntableFormat::WebP;
};

} // namespace

std::unique_ptr<Command> turntableCommand()
{
    return std::make_unique<TurntableCommand>();
}

} // namespace CommandLine
