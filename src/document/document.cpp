#include "document.h"

#include "swing.h"
#include "conversions.h"

#include <algorithm>

Document::Document(QObject *parent)
    : QObject(parent)
    , centre_ {toInteger(kViewSize / 2.0), toInteger(kViewSize / 2.0)}
{
}

void Document::setModel(Model model)
{
    model_ = std::move(model);
    std::copy(model_.colours.begin(), model_.colours.end(), colourSlots_.begin());
    emit modelChanged();
}

void Document::setHasModel(bool hasModel)
{
    if (hasModel_ == hasModel)
        return;
    hasModel_ = hasModel;
    emit hasModelChanged(hasModel);
}

void Document::setCanEraseStroke(bool can)
{
    if (canEraseStroke_ == can)
        return;
    canEraseStroke_ = can;
    emit canEraseStrokeChanged(can);
}

void Document::setCanApplyDepth(bool can)
{
    if (canApplyDepth_ == can)
        return;
    canApplyDepth_ = can;
    emit canApplyDepthChanged(can);
}

void Document::editedInFrontView()
{
    turn_ = tilt_ = 0;
    frontView_ = true;
    strokeShown_ = false;
    emit viewChanged();
}

void Document::importModel(Model model)
{
    setModel(std::move(model));
    turn_ = tilt_ = 0;
    frontView_ = false;
    strokeShown_ = false;
    setCanEraseStroke(false);
    setHasModel(true);
    emit viewChanged();
}

ModelFile::FileResult Document::open(const QString &path)
{
    ModelFile::ParsedModel parsed;
    const ModelFile::FileResult result = ModelFile::load(path.toStdString(), parsed);
    if (!result.ok())
        return result;
    setModel(ModelFile::toModel(parsed, colourSlots_));
    fileName_ = path;
    setHasModel(true);
    emit fileNameChanged(fileName_);
    emit viewChanged();
    return result;
}

ModelFile::FileResult Document::save(const QString &path)
{
    const ModelFile::FileResult result = ModelFile::save(model_, path.toStdString());
    if (result.ok() && path != fileName_) {
        fileName_ = path;
        emit fileNameChanged(fileName_);
    }
    return result;
}

void Document::applyDepth()
{
    ::applyDepth(model_, stroke_, centre_, double(depthValue_));
    emit modelChanged();
    // The view is drawn unturned, but the angles are left as they were.
    frontView_ = true;
    strokeShown_ = false;
    emit viewChanged();
    setCanApplyDepth(false);
    setCanEraseStroke(false);
}

void Document::turnQuarter()
{
    ::turnQuarter(model_);
    emit modelChanged();
    editedInFrontView();
}

void Document::mirror()
{
    mirrorLeftRight(model_);
    emit modelChanged();
    editedInFrontView();
}

void Document::move(Coordinate axis, double delta)
{
    shiftModel(model_, axis, delta);
    emit modelChanged();
    editedInFrontView();
}

void Document::turnBy(double turnDegrees, double tiltDegrees)
{
    turn_ += turnDegrees;
    tilt_ += tiltDegrees;
    frontView_ = false;
    strokeShown_ = false;
    emit viewChanged();
}

void Document::showFront()
{
    turn_ = tilt_ = 0;
    frontView_ = false;
    strokeShown_ = false;
    emit viewChanged();
}

void Document::setDepthValue(int value)
{
    if (depthValue_ == value)
        return;
    depthValue_ = value;
    emit depthValueChanged(value);
}

void Document::pressStroke(float x, float y)
{
    strokeActive_ = true;
    stroke_.startX = x;
    stroke_.startY = toInteger(y);
    setCanEraseStroke(true);
}

void Document::dragStroke(float x, float y)
{
    if (!strokeActive_)
        return;
    stroke_.endX = x;
    stroke_.endY = toInteger(y);
    turn_ = tilt_ = 0;
    frontView_ = true;
    strokeShown_ = true;
    emit viewChanged();
}

void Document::releaseStroke()
{
    strokeActive_ = false;
    stroke_ = orderedStroke(stroke_);
    setCanApplyDepth(true);
}

void Document::eraseStroke()
{
    // The corners stay: the depth can still be applied to the last rectangle.
    frontView_ = true;
    strokeShown_ = false;
    emit viewChanged();
    setCanEraseStroke(false);
}

void Document::toggleAnimation()
{
    animationRunning_ = !animationRunning_;
    emit animationRunningChanged(animationRunning_);
}

void Document::advanceAnimation()
{
    if (!animationRunning_)
        return;
    const SwingFrame frame = kSwingFrames[std::size_t(animationPhase_)];
    turn_ = frame.turn;
    tilt_ = frame.tilt;
    frontView_ = false;
    strokeShown_ = false;
    emit viewChanged();
    animationPhase_ = (animationPhase_ + 1) % int(kSwingFrames.size());
}
