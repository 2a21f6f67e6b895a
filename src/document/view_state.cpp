#include "view_state.h"

#include "conversions.h"
#include "swing.h"
#include "update_and_tell.h"

ViewState::ViewState(Document &document, QObject *parent)
    : QObject(parent)
    , document_(document)
{
    connect(&document_, &Document::edited, this, &ViewState::showEdited);
    connect(&document_, &Document::hasModelChanged, this, &ViewState::stopWithoutModel);
}

void ViewState::draw(Surface &surface, ViewRenderer &renderer, const Projection &projection,
                     const PointStyle &style) const
{
    if (frontView_)
        renderer.drawUnturnedView(surface, document_.model(), projection, style);
    else
        renderer.drawView(surface, document_.model(), angles_.turn, angles_.tilt, projection,
                          style);
}

void ViewState::drawMainView(Surface &surface, ViewRenderer &renderer) const
{
    draw(surface, renderer, Projection::mainView());
    if (strokeShown_)
        surface.drawBox(stroke_.startX, stroke_.startY, stroke_.endX, stroke_.endY, kBlue);
}

void ViewState::showEdited(Document::Step step, Document::Edit edit)
{
    if (step == Document::Step::Import) {
        showAtZero(false);
        setCanEraseStroke(false);
    } else if ((step == Document::Step::Depth || step == Document::Step::ColourDepth
                || step == Document::Step::BrightnessDepth)
               && edit == Document::Edit::Done) {
        // Drawn unturned, but the angles are left as they were.
        frontView_ = true;
        strokeShown_ = false;
        emit viewChanged();
        setCanApplyDepth(false);
        setCanEraseStroke(false);
    } else {
        showAtZero(true);
    }
}

void ViewState::stopWithoutModel(bool hasModel)
{
    if (!hasModel && animationRunning_) // its button goes with the model
        toggleAnimation();
}

void ViewState::showAtZero(bool frontView)
{
    angles_ = {};
    frontView_ = frontView;
    strokeShown_ = false;
    emit viewChanged();
}

void ViewState::setCanEraseStroke(bool can)
{
    updateAndTell(this, canEraseStroke_, can, &ViewState::canEraseStrokeChanged);
}

void ViewState::setCanApplyDepth(bool can)
{
    updateAndTell(this, canApplyDepth_, can, &ViewState::canApplyDepthChanged);
}

void ViewState::turnBy(double turnDegrees, double tiltDegrees)
{
    angles_.turn += turnDegrees;
    angles_.tilt += tiltDegrees;
    frontView_ = false;
    strokeShown_ = false;
    emit viewChanged();
}

void ViewState::showFront()
{
    showAtZero(false);
}

void ViewState::setDepthValue(int value)
{
    updateAndTell(this, depthValue_, value, &ViewState::depthValueChanged);
}

void ViewState::pressStroke(float x, float y)
{
    strokeActive_ = true;
    stroke_.startX = x;
    stroke_.startY = saturatingInt16(y);
    setCanEraseStroke(true);
}

void ViewState::dragStroke(float x, float y)
{
    if (!strokeActive_)
        return;
    stroke_.endX = x;
    stroke_.endY = saturatingInt16(y);
    angles_ = {};
    frontView_ = true;
    strokeShown_ = true;
    emit viewChanged();
}

void ViewState::releaseStroke()
{
    strokeActive_ = false;
    stroke_ = orderedCorners(stroke_);
    setCanApplyDepth(true);
}

void ViewState::eraseStroke()
{
    // The corners stay: the depth can still be applied to the last rectangle.
    frontView_ = true;
    strokeShown_ = false;
    emit viewChanged();
    setCanEraseStroke(false);
}

void ViewState::setStrokeDepth()
{
    document_.setDepthInside(stroke_, depthValue_);
}

void ViewState::toggleAnimation()
{
    animationRunning_ = !animationRunning_;
    emit animationRunningChanged(animationRunning_);
}

void ViewState::advanceAnimation()
{
    if (!animationRunning_)
        return;
    const SwingFrame frame = kSwingFrames[std::size_t(animationPhase_)];
    angles_ = {double(frame.turn), double(frame.tilt)};
    frontView_ = false;
    strokeShown_ = false;
    emit viewChanged();
    animationPhase_ = (animationPhase_ + 1) % int(kSwingFrames.size());
}
