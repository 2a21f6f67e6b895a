#include "commands.h"

#include "capture.h"
#include "capture_surface.h"
#include "colour_depths.h"
#include "colour_groups.h"
#include "conversions.h"
#include "document.h"
#include "export_options.h"
#include "image_surface.h"
#include "import.h"
#include "model_file.h"
#include "picture_file.h"
#include "reasons.h"
#include "renderer.h"
#include "view_state.h"

#include <QCommandLineParser>
#include <QImage>
#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace CommandLine {

namespace {

// A mouse position in pixels; far beyond any screen, but within 16 bits.
constexpr double kPositionLimit = 32767;
constexpr int kMoveLimit = 100000;
constexpr int kMaxQuarterTurns = 100;
// The staging picture: what a selection holds inside its outline.
constexpr int kLargestWhole = kStagingSize;
static_assert(kStagingSize == kSelectionLimit - 1, "the outline takes two pixels of a selection");
// --colours counts both the groups of --depth-colour and a 3MF's colours.
static_assert(SolidOptions {}.colourGroups == kStartDepthGroups);

struct DepthStroke {
    Stroke ordered;
    int depth;
};

struct DepthColour {
    QString text; // as given, for the messages
    Colour colour;
    double depth;
};

// The corners as the capture window rounds the pointer's positions, within the size limit;
// one to reduce may be of any size that a picture may be.
Selection selectionOption(const QString &text, bool reduce)
{
    const QList<double> corners = numberList(QStringLiteral("rect"), text, 4, kPositionLimit);
    const Selection drawn {saturatingInt16(float(corners[0])), saturatingInt16(float(corners[1])),
                           saturatingInt16(float(corners[2])), saturatingInt16(float(corners[3]))};
    const Selection ordered = orderedCorners(drawn);
    const SelectionSize size = withOutline(ordered);
    if (reduce && qint64(size.width - 2) * (size.height - 2) > kMaxReducedSelectionPixels)
        throw UsageError(QStringLiteral("--rect: the selection is %1 x %2 pixels with its outline, "
                                        "more than %3 pixels to reduce")
                             .arg(size.width)
                             .arg(size.height)
                             .arg(kMaxReducedSelectionPixels));
    if (!reduce && exceedsSelectionLimit(ordered))
        throw UsageError(QStringLiteral("--rect: the selection is %1 x %2 pixels with its outline, "
                                        "more than %3 x %3")
                             .arg(int(ordered.endX) - ordered.startX + 1)
                             .arg(int(ordered.endY) - ordered.startY + 1)
                             .arg(kSelectionLimit + 1));
    return drawn;
}

// Whether the inside of the selection's outline holds any pixel of the picture.
bool insidePicture(const Selection &ordered, const QImage &picture)
{
    return ordered.startX + 1 < std::min<int>(ordered.endX, picture.width())
           && ordered.startY + 1 < std::min<int>(ordered.endY, picture.height()) && ordered.endX > 0
           && ordered.endY > 0;
}

DepthStroke strokeOption(const QString &text)
{
    const qsizetype equals = text.lastIndexOf(QLatin1Char('='));
    if (equals < 0)
        throw UsageError(QStringLiteral("--depth: '%1' is not X1,Y1,X2,Y2=D").arg(text));
    const QList<double> corners
        = numberList(QStringLiteral("depth"), text.left(equals), 4, kPositionLimit);
    bool ok = false;
    const int depth = text.mid(equals + 1).trimmed().toInt(&ok);
    if (!ok || depth < kDepthLow || depth > kDepthHigh)
        throw UsageError(
            QStringLiteral("--depth: '%1': the depth D must be a whole number from %2 to %3")
                .arg(text)
                .arg(kDepthLow)
                .arg(kDepthHigh));
    return {
        strokeBetween(float(corners[0]), float(corners[1]), float(corners[2]), float(corners[3])),
        depth};
}

// A depth from 0 to 100 as C writes it, whole or not, as the colour dialog takes it.
std::optional<double> depthOf(const QString &text)
{
    bool ok = false;
    const double depth = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !(depth >= kDepthLow && depth <= kDepthHigh))
        return std::nullopt;
    return depth;
}

DepthColour depthColourOption(const QString &text)
{
    const qsizetype equals = text.lastIndexOf(QLatin1Char('='));
    if (equals < 0)
        throw UsageError(QStringLiteral("--depth-colour: '%1' is not #RRGGBB=D").arg(text));
    static const QRegularExpression hex(QStringLiteral("^#[0-9A-Fa-f]{6}$"));
    const QString name = text.left(equals).trimmed();
    if (!hex.match(name).hasMatch())
        throw UsageError(
            QStringLiteral(
                "--depth-colour: '%1': the colour must be #RRGGBB, six hexadecimal digits")
                .arg(text));
    const std::optional<double> depth = depthOf(text.mid(equals + 1));
    if (!depth)
        throw UsageError(
            QStringLiteral("--depth-colour: '%1': the depth D must be a number from %2 to %3")
                .arg(text)
                .arg(kDepthLow)
                .arg(kDepthHigh));
    const uint rgb = name.mid(1).toUInt(nullptr, 16);
    return {text, Colour(rgb >> 16 | (rgb & 0xFF00) | (rgb & 0xFF) << 16), *depth};
}

BrightnessDepths brightnessOption(const QString &text)
{
    const QList<double> depths = numberList(QStringLiteral("depth-brightness"), text, 2,
                                            std::numeric_limits<double>::max());
    for (double depth : depths)
        if (depth < kDepthLow || depth > kDepthHigh)
            throw UsageError(
                QStringLiteral("--depth-brightness: '%1': each depth must be from %2 to %3")
                    .arg(text)
                    .arg(kDepthLow)
                    .arg(kDepthHigh));
    return {depths[0], depths[1]};
}

// The group whose swatch is nearest the colour; of two as near, the one of more points.
std::size_t nearestGroup(const ColourGrouping &grouping, Colour colour)
{
    const auto distance = [colour](Colour swatch) {
        const Rgb8 a = channelsOf(colour), b = channelsOf(swatch);
        return (a.red - b.red) * (a.red - b.red) + (a.green - b.green) * (a.green - b.green)
               + (a.blue - b.blue) * (a.blue - b.blue);
    };
    std::size_t best = 0;
    for (std::size_t g = 1; g < grouping.groups.size(); ++g)
        if (distance(grouping.groups[g].swatch) < distance(grouping.groups[best].swatch))
            best = g;
    return best;
}

// The main window's view, as it is shown and saved.
QImage mainView(const ViewState &view)
{
    ImageSurface surface(kViewSize, kViewSize, kWhite);
    ViewRenderer renderer;
    view.drawMainView(surface, renderer);
    return surface.image();
}

class ImportCommand : public Command {
public:
    ImportCommand()
        : Command({QStringLiteral("import"), QStringLiteral("PICTURE... -o OUT"),
                   QStringLiteral(
                       "Builds a model from a picture as the capture window and the main window "
                       "do: the\nselection, then the depths by brightness, the depths by colour, "
                       "the depth strokes\nin the order given, the quarter turns, the mirror, the "
                       "move and the centring,\nwhatever the order of the options. OUT's "
                       "extension picks the kind: .chs (a model\nfile), .bmp (the front view as "
                       "the main window saves it) or .ply, .xyz, .glb,\n.stl, .3mf as export "
                       "writes them. Into a folder: .chs unless --format says\notherwise."),
                   QStringList {QStringLiteral("chs"), QStringLiteral("bmp")} + exportKinds(),
                   QStringLiteral("chs")})
    {
    }

    void addOptions(QCommandLineParser &parser) const override
    {
        parser.addOptions({
            {QStringLiteral("rect"),
             QStringLiteral(
                 "The selection as a drag from (X1, Y1) to (X2, Y2) in picture pixels, at "
                 "most %1 x %1 with the outline. Without it the whole picture, if it "
                 "is at most %2 x %2.")
                 .arg(kSelectionLimit + 1)
                 .arg(kLargestWhole),
             QStringLiteral("X1,Y1,X2,Y2")},
            {QStringLiteral("fit"),
             QStringLiteral("Reduces the selection of any size, or the whole picture without "
                            "--rect, by the smallest whole factor that brings it within %1 x %1, "
                            "as the capture window's reduced import does: a reduced pixel is ink "
                            "when any pixel of its "
                            "block is, in the block's most frequent ink colour.")
                 .arg(kLargestWhole)},
            {QStringLiteral("depth"),
             QStringLiteral("A depth stroke from (X1, Y1) to (X2, Y2) in pixels of the %1 x %1 "
                            "view with the slider at D (%2 to %3); may be repeated.")
                 .arg(kViewSize)
                 .arg(kDepthLow)
                 .arg(kDepthHigh),
             QStringLiteral("X1,Y1,X2,Y2=D")},
            {QStringLiteral("depth-brightness"),
             QStringLiteral("Gives every point the depth D0 + (D1 - D0) * Y / 255, Y the "
                            "brightness of its colour (299 R + 587 G + 114 B) / 1000: D0 that "
                            "of black, D1 that of white, each %1 to %2, as the edit menu's depth "
                            "by brightness does.")
                 .arg(kDepthLow)
                 .arg(kDepthHigh),
             QStringLiteral("D0,D1")},
            {QStringLiteral("depth-colour"),
             QStringLiteral("Gives the points of the colour group whose swatch is nearest "
                            "#RRGGBB the depth D (%1 to %2), as the edit menu's depth by colour "
                            "does with the colours grouped as --colours says; may be repeated, "
                            "one a group.")
                 .arg(kDepthLow)
                 .arg(kDepthHigh),
             QStringLiteral("#RRGGBB=D")},
            {QStringLiteral("quarter-turns"),
             QStringLiteral("Turns the model N times by 90 degrees (0 to %1).")
                 .arg(kMaxQuarterTurns),
             QStringLiteral("N")},
            {QStringLiteral("mirror"), QStringLiteral("Mirrors the model left to right.")},
            {QStringLiteral("move"),
             QStringLiteral("Moves the model DX right and DY up, in whole pixels, as the position "
                            "buttons do in steps of 10."),
             QStringLiteral("DX,DY")},
            {QStringLiteral("centre"),
             QStringLiteral("After every other step, moves the model by whole pixels so that the "
                            "middle of its bounding box comes to the view centre, as the view "
                            "menu's centre command does.")},
        });
        addExportOptions(parser, true);
    }

    void readOptions(const QCommandLineParser &parser, const QString &kind) override
    {
        fit_ = parser.isSet(QStringLiteral("fit"));
        if (parser.isSet(QStringLiteral("rect")))
            rect_ = selectionOption(parser.value(QStringLiteral("rect")), fit_);
        for (const QString &text : parser.values(QStringLiteral("depth")))
            strokes_.push_back(strokeOption(text));
        if (parser.isSet(QStringLiteral("depth-brightness")))
            brightness_ = brightnessOption(parser.value(QStringLiteral("depth-brightness")));
        for (const QString &text : parser.values(QStringLiteral("depth-colour")))
            depthColours_.push_back(depthColourOption(text));
        if (parser.isSet(QStringLiteral("quarter-turns")))
            quarterTurns_
                = integerOption(parser, QStringLiteral("quarter-turns"), 0, kMaxQuarterTurns);
        mirror_ = parser.isSet(QStringLiteral("mirror"));
        centre_ = parser.isSet(QStringLiteral("centre"));
        if (parser.isSet(QStringLiteral("move"))) {
            const QString text = parser.value(QStringLiteral("move"));
            const QList<double> move = numberList(QStringLiteral("move"), text, 2, kMoveLimit);
            if (move[0] != std::trunc(move[0]) || move[1] != std::trunc(move[1]))
                throw UsageError(QStringLiteral("--move: '%1' is not two whole numbers").arg(text));
            moveX_ = int(move[0]);
            moveY_ = int(move[1]);
        }
        kind_ = kind;
        exportSettings_ = readExportOptions(parser, kind, true);
    }

    Outcome run(const Job &job) const override
    {
        DecodedPicture decoded = readCapturePicture(job.input);
        if (!decoded.result.ok())
            return Outcome::failed(InputRefused, job.input, pictureFailureReason(decoded.result));
        const QImage &picture = decoded.image;
        Selection drawn;
        if (rect_) {
            drawn = *rect_;
            if (fit_ && !insidePicture(orderedCorners(drawn), picture))
                return Outcome::failed(WrongUsage, job.input,
                                       QStringLiteral("--rect: the selection holds no pixel of "
                                                      "the %1 x %2 picture")
                                           .arg(picture.width())
                                           .arg(picture.height()));
        } else if (!fit_ && (picture.width() > kLargestWhole || picture.height() > kLargestWhole)) {
            return Outcome::failed(
                InputRefused, job.input,
                QStringLiteral("the picture is %1 x %2 pixels; without --rect it is taken whole "
                               "only up to %3 x %3")
                    .arg(picture.width())
                    .arg(picture.height())
                    .arg(kLargestWhole));
        } else {
            // The outline just outside the picture: every pixel lies inside it.
            drawn = {-1, -1, std::int16_t(picture.width()), std::int16_t(picture.height())};
        }

        // Handed over, so that the outline drawn on a large picture copies none of it.
        Model model = capture(std::move(decoded.image), drawn, fit_);
        if (model.count() == 0)
            return Outcome::failed(InputRefused, job.input,
                                   QStringLiteral("no dark pixel inside the selection"));
        // Which group an option names depends on the picture's colours.
        ColourGrouping grouping;
        std::vector<std::optional<double>> groupDepths;
        if (!depthColours_.empty()) {
            grouping = groupColours(model.colours, colourGroups());
            groupDepths.resize(grouping.groups.size());
            if (const QString clash = depthsOfGroups(grouping, groupDepths); !clash.isEmpty())
                return Outcome::failed(WrongUsage, job.input, clash);
        }
        Document document;
        const ViewState view(document);
        document.importModel(std::move(model));
        edit(document, grouping.groupOf, groupDepths);
        return write(view, job);
    }

private:
    static Model capture(QImage picture, const Selection &drawn, bool reduce)
    {
        ImageSurface surface = captureSurfaceFor(std::move(picture));
        surface.drawBox(drawn.startX, drawn.startY, drawn.endX, drawn.endY, kBlue);
        const ImportGrid grid = takeSelection(surface, orderedCorners(drawn), reduce);
        ImageSurface staging(kStagingSize, kStagingSize, kWhite);
        stageImport(grid, staging);
        return buildModelFromPicture(staging, kViewSize, kViewSize, kViewCentre);
    }

    // The groups of --depth-colour and a 3MF's colours alike.
    int colourGroups() const { return exportSettings_.solid.colourGroups; }

    // Each group's depth from --depth-colour; why not, when two options name one group.
    QString depthsOfGroups(const ColourGrouping &grouping,
                           std::vector<std::optional<double>> &depths) const
    {
        std::vector<const DepthColour *> namedBy(depths.size());
        for (const DepthColour &option : depthColours_) {
            const std::size_t group = nearestGroup(grouping, option.colour);
            if (namedBy[group])
                return QStringLiteral("--depth-colour: '%1' and '%2' both name the colour group "
                                      "%3 (--colours %4)")
                    .arg(namedBy[group]->text, option.text,
                         QString::fromStdString(colourName(grouping.groups[group].swatch)))
                    .arg(colourGroups());
            namedBy[group] = &option;
            depths[group] = option.depth;
        }
        return {};
    }

    void edit(Document &document, std::span<const int> groupOf,
              std::span<const std::optional<double>> groupDepths) const
    {
        if (brightness_)
            document.setDepthsByBrightness(*brightness_);
        if (!depthColours_.empty())
            document.setDepthsByColour(groupOf, groupDepths);
        for (const DepthStroke &stroke : strokes_)
            document.setDepthInside(stroke.ordered, stroke.depth);
        for (int i = 0; i < quarterTurns_; ++i)
            document.turnQuarter();
        if (mirror_)
            document.mirror();
        if (moveX_ != 0 || moveY_ != 0)
            document.move(moveX_, moveY_);
        if (centre_)
            document.centre();
    }

    Outcome write(const ViewState &view, const Job &job) const
    {
        const QString &path = job.output;
        const Model &model = view.document().model();
        if (kind_ == QLatin1String("chs"))
            return writeResult(path, ModelFile::encode(model));
        if (kind_ == QLatin1String("bmp"))
            return writeResult(path, encodePicture(mainView(view), "bmp"));
        const ExportResult exported = exportModel(model, kind_, exportSettings_);
        if (!exported.ok())
            return Outcome::failed(InputRefused, job.input,
                                   QStringLiteral("cannot be exported: ")
                                       + exportFailureReason(exported.error));
        return writeResult(path, exported.bytes);
    }

    bool fit_ = false;
    std::optional<Selection> rect_; // the corners as dragged, not ordered
    std::vector<DepthStroke> strokes_;
    std::optional<BrightnessDepths> brightness_;
    std::vector<DepthColour> depthColours_;
    int quarterTurns_ = 0;
    bool mirror_ = false;
    bool centre_ = false;
    int moveX_ = 0;
    int moveY_ = 0;
    QString kind_;
    ExportOptions exportSettings_;
};

} // namespace

std::unique_ptr<Command> importCommand()
{
    return std::make_unique<ImportCommand>();
}

} // namespace CommandLine
