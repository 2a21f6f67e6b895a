#pragma once

#include "colour_depths.h"
#include "editing.h"
#include "model.h"
#include "model_file_io.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>
#include <span>
#include <vector>

class QUndoStack;

// What the user edits and saves: the point model, the selection it was
// imported from, the model file and the history of steps. Every change goes
// through an operation that says what the user meant, the same for the windows
// and the command line, and the signals say what changed. How the model is
// looked at is the ViewState's.
class Document : public QObject {
    Q_OBJECT

public:
    // The kinds of step on the model that can be undone.
    enum class Step {
        Import,
        Depth,
        QuarterTurn,
        Mirror,
        Move,
        Centre,
        ColourDepth,
        BrightnessDepth
    };
    enum class Edit { Done, Undone, Redone };
    // The user's word for a step, as the undo and redo commands name it.
    using StepNamer = std::function<QString(Step)>;

    explicit Document(QObject *parent = nullptr);
    ~Document() override;

    void setStepNamer(StepNamer namer);
    // Every change of the model, for undo and redo.
    QUndoStack *history() const { return history_; }
    // The model differs from the last one saved or opened.
    bool isModified() const;

    const Model &model() const { return model_; }
    // The selection the model was imported from, as the main window shows it; none for a model
    // given otherwise.
    const QImage &selection() const { return selection_; }
    // An import or an opened file gave the program a model, even one of 0 points.
    bool hasModel() const { return hasModel_; }
    QString fileName() const { return fileName_; }

    void importModel(Model model, QImage selection = {});
    // On failure nothing changes.
    ModelFile::FileResult open(const QString &path);
    ModelFile::FileResult save(const QString &path);

    // Sets the depth of every point inside the ordered stroke, a rectangle of the main view.
    void setDepthInside(const Stroke &ordered, double depth);
    // Gives every point of a colour group its group's depth, where `depths` has one; `groupOf`
    // holds each point's group, as groupColours() gives it.
    void setDepthsByColour(std::span<const int> groupOf,
                           std::span<const std::optional<double>> depths);
    // Gives every point the depth of its colour's brightness; see depthByBrightness().
    void setDepthsByBrightness(const BrightnessDepths &depths);
    void turnQuarter();
    void mirror();
    // Moves the model right by dx and up by dy pixels.
    void move(int dx, int dy);
    // Moves the model by whole pixels so that its bounding box's middle comes to the view
    // centre; see centringMove().
    void centre();

signals:
    void modelChanged();
    // A step was taken, undone or redone; a depth step also when it changed no point. The
    // views show the result.
    void edited(Document::Step step, Document::Edit edit);
    // An import, or its undo or redo.
    void selectionChanged();
    void modifiedChanged(bool modified);
    void hasModelChanged(bool hasModel);

private:
    // Pushes a step that has been prepared; its first redo does the change.
    void push(Step step, std::function<void()> change, std::function<void()> revert);
    void swapModel(Model &model, bool &hasModel);
    void shift(Step step, int dx, int dy);
    void replaceDepths(Step step, std::vector<double> depths);

    Model model_;
    QImage selection_;
    QUndoStack *history_;
    StepNamer stepNamer_;
    // The colour each point slot last had: a file without colours takes them.
    std::vector<Colour> colourSlots_ = std::vector<Colour>(kMaxPoints, 0);
    bool hasModel_ = false;
    QString fileName_;
};
