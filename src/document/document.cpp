#include "document.h"

#include "conversions.h"
#include "swing.h"

#include <QUndoStack>

#include <algorithm>
#include <memory>

namespace {

// One step on the model: its change, how to take it back, and how the views
// show the model after an undo or a redo. The first redo is the step itself,
// which shows its result the way the command does.
class ModelStep : public QUndoCommand {
public:
    ModelStep(const QString &text, std::function<void()> change, std::function<void()> revert,
              std::function<void()> shown)
        : QUndoCommand(text)
        , change_(std::move(change))
        , revert_(std::move(revert))
        , shown_(std::move(shown))
    {
    }

    void redo() override
    {
        change_();
        if (!first_)
            shown_();
        first_ = false;
    }

    void undo() override
    {
        revert_();
        shown_();
    }

private:
    std::function<void()> change_;
    std::function<void()> revert_;
    std::function<void()> shown_;
    bool first_ = true;
};

QString englishName(Document::Step step)
{
    switch (step) {
    case Document::Step::Import:
        return QStringLiteral("import");
    case Document::Step::Depth:
        return QStringLiteral("depth");
    case Document::Step::QuarterTurn:
        return QStringLiteral("quarter turn");
    case Document::Step::Mirror:
        return QStringLiteral("mirror");
    case Document::Step::Move:
        return QStringLiteral("move");
    }
    return {};
}

} // namespace

Document::Document(QObject *parent)
    : QObject(parent)
    , history_(new QUndoStack(this))
    , stepNamer_(englishName)
    , centre_ {toInteger(kViewSize / 2.0), toInteger(kViewSize / 2.0)}
{
    connect(history_, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
}

Document::~Document() = default;

void Document::setStepNamer(StepNamer namer)
{
    stepNamer_ = std::move(namer);
}

bool Document::isModified() const
{
    return !history_->isClean();
}

void Document::push(Step step, std::function<void()> change, std::function<void()> revert,
                    std::function<void()> shown)
{
    history_->push(
        new ModelStep(stepNamer_(step), std::move(change), std::move(revert), std::move(shown)));
}

void Document::swapModel(Model &model, bool &hasModel)
{
    std::swap(model_, model);
    std::copy(model_.colours.begin(), model_.colours.end(), colourSlots_.begin());
    const bool had = hasModel_;
    setHasModel(hasModel);
    hasModel = had;
    emit modelChanged();
}

void Document::setHasModel(bool hasModel)
{
    if (hasModel_ == hasModel)
        return;
    hasModel_ = hasModel;
    emit hasModelChanged(hasModel);
    if (!hasModel && animationRunning_) // its button goes with the model
        toggleAnimation();
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

void Document::showImported()
{
    turn_ = tilt_ = 0;
    frontView_ = false;
    strokeShown_ = false;
    setCanEraseStroke(false);
    emit viewChanged();
}

void Document::drawView(Surface &surface, ViewRenderer &renderer) const
{
    if (frontView_)
        renderer.drawFrontView(surface, model_, centre_);
    else
        renderer.drawTurnedView(surface, model_, centre_, turn_, tilt_);
}

void Document::importModel(Model model, QImage selection)
{
    // The step keeps the model and selection it replaced; undo and redo swap the two.
    struct Swapped {
        Model model;
        QImage selection;
        bool hasModel = true;
    };
    auto other = std::make_shared<Swapped>(Swapped {std::move(model), std::move(selection)});
    const auto swap = [this, other] {
        std::swap(selection_, other->selection);
        emit selectionChanged();
        swapModel(other->model, other->hasModel);
    };
    push(Step::Import, swap, swap, [this] { showImported(); });
    showImported();
}

ModelFile::FileResult Document::open(const QString &path)
{
    ModelFile::ParsedModel parsed;
    const ModelFile::FileResult result = ModelFile::load(path.toStdString(), parsed);
    if (!result.ok())
        return result;
    Model model = ModelFile::toModel(parsed, colourSlots_);
    bool hasModel = true;
    swapModel(model, hasModel);
    history_->clear(); // a fresh history, as in every editor
    fileName_ = path;
    emit fileNameChanged(fileName_);
    emit viewChanged();
    return result;
}

ModelFile::FileResult Document::save(const QString &path)
{
    const ModelFile::FileResult result = ModelFile::save(model_, path.toStdString());
    if (!result.ok())
        return result;
    history_->setClean();
    if (path != fileName_) {
        fileName_ = path;
        emit fileNameChanged(fileName_);
    }
    return result;
}

void Document::applyDepth()
{
    const double depth = depthValue_;
    auto replaced
        = std::make_shared<std::vector<DepthRun>>(::applyDepth(model_, stroke_, centre_, depth));
    if (!replaced->empty()) {
        // Its first redo sets the same depths again; a step that changed nothing is no step.
        push(
            Step::Depth,
            [this, replaced, depth] {
                setDepths(model_, *replaced, depth);
                emit modelChanged();
            },
            [this, replaced] {
                restoreDepths(model_, *replaced);
                emit modelChanged();
            },
            [this] { editedInFrontView(); });
    }
    // The view is drawn unturned, but the angles are left as they were.
    frontView_ = true;
    strokeShown_ = false;
    emit viewChanged();
    setCanApplyDepth(false);
    setCanEraseStroke(false);
}

void Document::turnQuarter()
{
    // Both ways only move and negate coordinates: exact, so nothing is stored.
    push(
        Step::QuarterTurn,
        [this] {
            ::turnQuarter(model_);
            emit modelChanged();
        },
        [this] {
            turnQuarterBack(model_);
            emit modelChanged();
        },
        [this] { editedInFrontView(); });
    editedInFrontView();
}

void Document::mirror()
{
    const auto mirror = [this] {
        mirrorLeftRight(model_);
        emit modelChanged();
    };
    push(Step::Mirror, mirror, mirror, [this] { editedInFrontView(); });
    editedInFrontView();
}

void Document::move(Coordinate axis, double delta)
{
    // Shifting back is exact for whole numbers; other coordinates are kept.
    auto kept = std::make_shared<std::vector<double>>();
    if (!shiftIsReversible(model_, axis, delta)) {
        for (const Coords &point : model_.points)
            kept->push_back(point[axis]);
    }
    push(
        Step::Move,
        [this, axis, delta] {
            shiftModel(model_, axis, delta);
            emit modelChanged();
        },
        [this, kept, axis, delta] {
            if (kept->empty()) {
                shiftModel(model_, axis, -delta);
            } else {
                for (std::size_t i = 0; i < kept->size(); ++i)
                    model_.points[i][axis] = (*kept)[i];
            }
            emit modelChanged();
        },
        [this] { editedInFrontView(); });
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
