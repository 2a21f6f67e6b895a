#include "turntable.h"

#include "swing.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>

TurntableOptions withinLimits(TurntableOptions options)
{
    options.frames = std::clamp(options.frames, kMinTurntableFrames, kMaxTurntableFrames);
    options.size = std::clamp(options.size, kMinTurntableSize, kMaxTurntableSize);
    options.delayMs = std::clamp(options.delayMs, kMinTurntableDelay, kMaxTurntableDelay);
    options.style.size = std::clamp(options.style.size, 1, kMaxPointSize);
    return options;
}

std::vector<ViewAngles> turntableAngles(const TurntableOptions &options)
{
    std::vector<ViewAngles> angles;
    if (options.motion == TurntableMotion::Swing) {
        for (const SwingFrame &frame : kSwingFrames)
            angles.push_back({double(frame.turn), double(frame.tilt)});
        return angles;
    }
    for (int i = 0; i < options.frames; ++i)
        angles.push_back({options.start.turn + 360.0 * i / options.frames, options.start.tilt});
    return angles;
}

namespace {

// What is kept clear at every side of a frame about the model's middle, of the frame's side.
constexpr double kFrameMargin = 0.05;

bool drawable(const Coords &point)
{
    return std::all_of(point.begin(), point.end(),
                       [](double value) { return std::fabs(value) <= FLT_MAX; });
}

// The model moved so that the middle of its drawable points' bounding box is the origin.
void centreModel(Model &model)
{
    Coords low {HUGE_VAL, HUGE_VAL, HUGE_VAL}, high {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (const Coords &point : model.points)
        if (drawable(point))
            for (std::size_t axis = 0; axis < 3; ++axis) {
                low[axis] = std::min(low[axis], point[axis]);
                high[axis] = std::max(high[axis], point[axis]);
            }
    for (Coords &point : model.points)
        for (std::size_t axis = 0; axis < 3; ++axis)
            point[axis] -= low[axis] / 2 + high[axis] / 2;
}

// How far from the origin, across or down, any drawable point shows at any of the angles.
double reachAtAngles(const Model &model, const std::vector<ViewAngles> &angles)
{
    std::vector<Coords> turned(model.points.size());
    double reach = 0;
    for (const ViewAngles &view : angles) {
        turnPoints(model.points, view.turn, view.tilt, turned);
        for (const Coords &point : turned)
            if (drawable(point))
                reach = std::max({reach, std::fabs(point[Horizontal]), std::fabs(point[Vertical])});
    }
    return reach;
}

} // namespace

bool hasDrawablePoint(const Model &model)
{
    return std::any_of(model.points.begin(), model.points.end(), drawable);
}

TurntableRenderer::TurntableRenderer(const Model &model, const TurntableOptions &options)
    : options_(withinLimits(options))
    , centred_(options_.aboutCentre ? model : Model())
    , drawn_(options_.aboutCentre ? centred_ : model)
    , projection_(Projection::fitting(options_.size, options_.size))
    , angles_(turntableAngles(options_))
    , surface_(options_.size, options_.size, kWhite)
{
    if (!options_.aboutCentre)
        return;
    centreModel(centred_);
    // A point's square reaches half its size beyond its middle.
    const double room = options_.size * (0.5 - kFrameMargin) - options_.style.size / 2.0;
    if (const double reach = reachAtAngles(centred_, angles_); reach > 0)
        projection_.scale = std::max(room, 0.0) / reach;
}

const QImage &TurntableRenderer::render(int index)
{
    const ViewAngles angles = angles_.at(std::size_t(index));
    renderer_.drawView(surface_, drawn_, angles.turn, angles.tilt, projection_, options_.style);
    return surface_.image();
}

Animation::Frame toAnimationFrame(const QImage &image)
{
    const QImage rgba = image.convertToFormat(QImage::Format_RGBA8888);
    Animation::Frame frame {rgba.width(), rgba.height(), {}};
    const std::size_t row = std::size_t(rgba.width()) * 4;
    frame.rgba.resize(row * std::size_t(rgba.height()));
    for (int y = 0; y < rgba.height(); ++y)
        std::memcpy(frame.rgba.data() + row * std::size_t(y), rgba.constScanLine(y), row);
    return frame;
}

std::vector<Animation::Frame> renderTurntable(const Model &model, const TurntableOptions &options,
                                              const Animation::Progress &progress)
{
    TurntableRenderer renderer(model, options);
    std::vector<Animation::Frame> frames;
    frames.reserve(std::size_t(renderer.frameCount()));
    for (int i = 0; i < renderer.frameCount(); ++i) {
        frames.push_back(toAnimationFrame(renderer.render(i)));
        if (progress && !progress(i + 1, renderer.frameCount()))
            return {};
    }
    return frames;
}
