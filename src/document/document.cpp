#include "document.h"

#include "update_and_tell.h"

#include <QUndoStack>

#include <algorithm>
#include <array>
#include <bit>
#include <memory>

namespace {

// One step on the model: its change and how to take it back. The first redo is
// the step itself; later ones, and every undo, tell the views.
class ModelStep : public QUndoCommand {
public:
    using Shown = std::function<void(Document::Edit)>;

    ModelStep(const QString &text, std::function<void()> change, std::function<void()> revert,
              Shown shown)
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
            shown_(Document::Edit::Redone);
        first_ = false;
    }

    void undo() override
    {
        revert_();
        shown_(Document::Edit::Undone);
    }

private:
    std::function<void()> change_;
    std::function<void()> revert_;
    Shown shown_;
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
    case Document::Step::Centre:
        return QStringLiteral("centre");
    case Document::Step::ColourDepth:
        return QStringLiteral("depth by colour");
    case Document::Step::BrightnessDepth:
        return QStringLiteral("depth by brightness");
    }
    return {};
}

} // namespace

Document::Document(QObject *parent)
    : QObject(parent)
    , history_(new QUndoStack(this))
    , stepNamer_(englishName)
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

void Document::push(Step step, std::function<void()> change, std::function<void()> revert)
{
    history_->push(new ModelStep(stepNamer_(step), std::move(change), std::move(revert),
                                 [this, step](Edit edit) { emit edited(step, edit); }));
    emit edited(step, Edit::Done);
}

void Document::swapModel(Model &model, bool &hasModel)
{
    std::swap(model_, model);
    std::copy(model_.colours.begin(), model_.colours.end(), colourSlots_.begin());
    const bool had = hasModel_;
    updateAndTell(this, hasModel_, hasModel, &Document::hasModelChanged);
    hasModel = had;
    emit modelChanged();
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
    push(Step::Import, swap, swap);
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
    return result;
}

ModelFile::FileResult Document::save(const QString &path)
{
    const ModelFile::FileResult result = ModelFile::save(model_, path.toStdString());
    if (!result.ok())
        return result;
    history_->setClean();
    fileName_ = path;
    return result;
}

void Document::setDepthInside(const Stroke &ordered, double depth)
{
    auto replaced = std::make_shared<std::vector<DepthRun>>(
        ::replaceDepthsInside(model_, ordered, kViewCentre, depth));
    if (replaced->empty()) { // a step that changed nothing is no step
        emit edited(Step::Depth, Edit::Done);
        return;
    }
    // Its first redo sets the same depths again.
    push(
        Step::Depth,
        [this, replaced, depth] {
            setDepths(model_, *replaced, depth);
            emit modelChanged();
        },
        [this, replaced] {
            restoreDepths(model_, *replaced);
            emit modelChanged();
        });
}

void Document::setDepthsByColour(std::span<const int> groupOf,
                                 std::span<const std::optional<double>> depths)
{
    Q_ASSERT(groupOf.size() == model_.colours.size());
    replaceDepths(Step::ColourDepth, depthsByGroup(model_, groupOf, depths));
}

void Document::setDepthsByBrightness(const BrightnessDepths &depths)
{
    replaceDepths(Step::BrightnessDepth, depthsByBrightness(model_, depths));
}

void Document::replaceDepths(Step step, std::vector<double> depths)
{
    auto before = std::make_shared<std::vector<double>>();
    before->reserve(depths.size());
    bool changed = false;
    for (std::size_t i = 0; i < depths.size(); ++i) {
        before->push_back(model_.points[i][Depth]);
        changed |= std::bit_cast<std::uint64_t>(depths[i])
                   != std::bit_cast<std::uint64_t>(before->back());
    }
    if (!changed) { // a step that changed nothing is no step
        emit edited(step, Edit::Done);
        return;
    }
    // Both ways kept whole: undo gives every depth back bit for bit.
    const auto put = [this](const std::shared_ptr<std::vector<double>> &source) {
        return [this, source] {
            for (std::size_t i = 0; i < source->size(); ++i)
                model_.points[i][Depth] = (*source)[i];
            emit modelChanged();
        };
    };
    push(step, put(std::make_shared<std::vector<double>>(std::move(depths))), put(before));
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
        });
}

void Document::mirror()
{
    const auto mirror = [this] {
        mirrorLeftRight(model_);
        emit modelChanged();
    };
    push(Step::Mirror, mirror, mirror);
}

void Document::move(int dx, int dy)
{
    shift(Step::Move, dx, dy);
}

void Document::centre()
{
    const PixelMove move = centringMove(model_);
    shift(Step::Centre, move.dx, move.dy);
}

void Document::shift(Step step, int dx, int dy)
{
    if (dx == 0 && dy == 0) { // a step that moves nothing is no step
        emit edited(step, Edit::Done);
        return;
    }
    // Shifting back is exact for whole numbers; other coordinates are kept.
    auto kept = std::make_shared<std::vector<std::array<double, 2>>>();
    if (!shiftIsReversible(model_, dx, dy)) {
        for (const Coords &point : model_.points)
            kept->push_back({point[Horizontal], point[Vertical]});
    }
    push(
        step,
        [this, dx, dy] {
            shiftModel(model_, dx, dy);
            emit modelChanged();
        },
        [this, kept, dx, dy] {
            if (kept->empty()) {
                shiftModel(model_, -dx, -dy);
            } else {
                for (std::size_t i = 0; i < kept->size(); ++i) {
                    model_.points[i][Horizontal] = (*kept)[i][0];
                    model_.points[i][Vertical] = (*kept)[i][1];
                }
            }
            emit modelChanged();
        });
}
