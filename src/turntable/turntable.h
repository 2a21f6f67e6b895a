#pragma once

#include "animation.h"
#include "image_surface.h"
#include "model.h"
#include "renderer.h"

#include <vector>

// How the model moves from frame to frame.
enum class TurntableMotion {
    FullTurn, // once round the vertical axis in `frames` equal steps
    Swing, // the 36 views of the main window's animation
};

struct TurntableOptions {
    TurntableMotion motion = TurntableMotion::FullTurn;
    int frames = 36;
    int size = 512; // pixels a side
    int delayMs = 100;
    PointStyle style;
    // Where a full turn starts: the angles the views show.
    ViewAngles start;
    // About the middle of the model's bounding box, every frame holding the whole model with a
    // margin; otherwise about the view centre, at the large view's fitted size.
    bool aboutCentre = true;
};

inline constexpr int kMinTurntableFrames = 2;
inline constexpr int kMaxTurntableFrames = 120;
inline constexpr int kMinTurntableSize = 16;
// 120 frames of this size take 480 MB before they are encoded.
inline constexpr int kMaxTurntableSize = 1024;
// Browsers show a frame of 10 ms or less for 100 ms.
inline constexpr int kMinTurntableDelay = 20;
inline constexpr int kMaxTurntableDelay = 10000;

// The options with every number brought into its range.
TurntableOptions withinLimits(TurntableOptions options);

std::vector<ViewAngles> turntableAngles(const TurntableOptions &options);

// Whether a frame can show any point: one whose coordinates are all finite and within a
// float's range, as the point clouds' exports require too.
bool hasDrawablePoint(const Model &model);

// Draws the frames one by one, each exactly as the large view shows the model
// at that angle and size.
class TurntableRenderer {
public:
    TurntableRenderer(const Model &model, const TurntableOptions &options);

    int frameCount() const { return int(angles_.size()); }
    // Valid until the next call.
    const QImage &render(int index);

private:
    TurntableOptions options_;
    // The model as it is drawn: moved to the middle of its bounding box about the centre.
    Model centred_;
    const Model &drawn_;
    Projection projection_;
    std::vector<ViewAngles> angles_;
    ViewRenderer renderer_;
    ImageSurface surface_;
};

Animation::Frame toAnimationFrame(const QImage &image);

// Every frame of the turntable; empty when `progress` returns false.
std::vector<Animation::Frame> renderTurntable(const Model &model, const TurntableOptions &options,
                                              const Animation::Progress &progress = {});
