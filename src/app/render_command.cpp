#include "commands.h"

#include "image_surface.h"
#include "picture_file.h"
#include "renderer.h"

#include <QCommandLineParser>

namespace CommandLine {

namespace {

constexpr int kMaxRenderSize = 8192;

class RenderCommand : public Command {
public:
    RenderCommand()
        : Command({QStringLiteral("render"),
                   QStringLiteral("MODEL... -o OUT.png|OUT.bmp"),
                   QStringLiteral("Draws the view of a model file. At size %1 without --point-size "
                                  "or --shading the\npicture is the main window's view at the "
                                  "same angles, pixel for pixel. Into a\nfolder: .png unless "
                                  "--format bmp.")
                       .arg(kViewSize),
                   {QStringLiteral("png"), QStringLiteral("bmp")},
                   QStringLiteral("png")})
    {
    }

    void addOptions(QCommandLineParser &parser) const override
    {
        parser.addOptions({
            {QStringLiteral("turn"),
             QStringLiteral("The turn about the vertical axis in degrees, as the left arrow "
                            "buttons count it (0)."),
             QStringLiteral("A")},
            {QStringLiteral("tilt"),
             QStringLiteral("The tilt about the horizontal axis in degrees, as the up arrow "
                            "buttons count it (0)."),
             QStringLiteral("B")},
            {QStringLiteral("size"),
             QStringLiteral("The picture's width and height in pixels, 1 to %1 (%2).")
                 .arg(kMaxRenderSize)
                 .arg(kViewSize),
             QStringLiteral("N")},
        });
        addPointStyleOptions(parser);
    }

    void readOptions(const QCommandLineParser &parser, const QString &kind) override
    {
        readAngles(parser, turn_, tilt_);
        if (parser.isSet(QStringLiteral("size")))
            size_ = integerOption(parser, QStringLiteral("size"), 1, kMaxRenderSize);
        readPointStyle(parser, style_);
        format_ = kind.toLatin1();
    }

    Outcome run(const Job &job) const override
    {
        Model model;
        Outcome outcome;
        if (!openModel(job.input, model, outcome))
            return outcome;
        ImageSurface surface(size_, size_, kWhite);
        ViewRenderer renderer;
        renderer.drawView(surface, model, turn_, tilt_, Projection::fitting(size_, size_), style_);
        return writeResult(job.output, encodePicture(surface.image(), format_.constData()));
    }

private:
    double turn_ = 0;
    double tilt_ = 0;
    int size_ = kViewSize;
    PointStyle style_;
    QByteArray format_;
};

} // namespace

std::unique_ptr<Command> renderCommand()
{
    return std::make_unique<RenderCommand>();
}

} // namespace CommandLine
