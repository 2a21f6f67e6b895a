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

bool hasDrawablePoint(const Model &model)
{
    return std::any_of(model.points.begin(), model.points.end(), [](const Coords &point) {
        return std::all_of(point.begin(), point.end(),
                           [](double value) { return std::fabs(value) <= FLT_MAX; });
    });
}

TurntableRenderer::TurntableRenderer(const Model &model, const TurntableOptions &options)
    : model_(model)
    , options_(withinLimits(options))
    , angles_(turntableAngles(options_))
    , surface_(options_.size, options_.size, kWhite)
{
}

const QImage &TurntableRenderer::render(int index)
{
    const ViewAngles angles = angles_.at(std::size_t(index));
    renderer_.drawView(surface_, model_, angles.turn, angles.tilt,
                       Projection::fitting(options_.size, options_.size), options_.style);
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
