#pragma once

#include "editing.h"
#include "model.h"
#include "model_file_io.h"
#include "renderer.h"

#include <QImage>
#include <QObject>
#include <QString>

#include <functional>
#include <vector>

class QUndoStack;

// How far, in pixels, one press of a move button moves the model.
inline constexpr int kPositionStep = 10;

// What the user edits and looks at: the point model, how it is viewed, the
// depth stroke, the swing animation and the model file. Every change goes
// through here, and the signals say what changed; the windows and the command
// line only observe.
class Document : public QObject {
    Q_OBJECT

public:
    // The kinds of step on the model that can be undone.
    enum class Step { Import, Depth, QuarterTurn, Mirror, Move };
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

    ViewCentre centre() const { return centre_; }
    double turn() const { return turn_; }
    double tilt() const { return tilt_; }
    // The editing tools show the model unturned, whatever the angles say.
    bool showsFrontView() const { return frontView_; }
    const Stroke &stroke() const { return stroke_; }
    // The stroke's outline is drawn over the view.
    bool strokeShown() const { return strokeShown_; }
    bool canEraseStroke() const { return canEraseStroke_; }
    bool canApplyDepth() const { return canApplyDepth_; }
    int depthValue() const { return depthValue_; }
    bool animationRunning() const { return animationRunning_; }
    int animationPhase() const { return animationPhase_; }
    // The view as the main window shows and saves it: unturned, or turned by the angles.
    void drawView(Surface &surface, ViewRenderer &renderer) const;

    // The model changes. Each shows the result the way the editing tools do.
    void importModel(Model model, QImage selection = {});
    // On failure nothing changes.
    ModelFile::FileResult open(const QString &path);
    ModelFile::FileResult save(const QString &path);
    void applyDepth();
    void turnQuarter();
    void mirror();
    void move(Coordinate axis, double delta);

    // The view: angles are never wrapped, 73 steps of 5 degrees give 365.
    void turnBy(double turnDegrees, double tiltDegrees);
    void showFront();
    void setDepthValue(int value);

    // The depth stroke, in pixels of the view.
    void pressStroke(float x, float y);
    void dragStroke(float x, float y);
    void releaseStroke();
    void eraseStroke();

    // The phase is kept, so a restart goes on from the frame after the last one shown.
    void toggleAnimation();
    void advanceAnimation();

signals:
    void modelChanged();
    // An import, or its undo or redo.
    void selectionChanged();
    void modifiedChanged(bool modified);
    // What the views show has changed: the model, the angles or the stroke.
    void viewChanged();
    void hasModelChanged(bool hasModel);
    void fileNameChanged(const QString &fileName);
    void canEraseStrokeChanged(bool can);
    void canApplyDepthChanged(bool can);
    void depthValueChanged(int value);
    void animationRunningChanged(bool running);

private:
    // Pushes a step that has been prepared; its first redo does the change.
    void push(Step step, std::function<void()> change, std::function<void()> revert,
              std::function<void()> shown);
    void swapModel(Model &model, bool &hasModel);
    void showImported();
    void setHasModel(bool hasModel);
    void setCanEraseStroke(bool can);
    void setCanApplyDepth(bool can);
    // Front view, angles 0, as every whole-model edit leaves the view.
    void editedInFrontView();

    Model model_;
    QImage selection_;
    QUndoStack *history_;
    StepNamer stepNamer_;
    // The colour each point slot last had: a file without colours takes them.
    std::vector<Colour> colourSlots_ = std::vector<Colour>(kMaxPoints, 0);
    bool hasModel_ = false;
    QString fileName_;

    ViewCentre centre_;
    double turn_ = 0;
    double tilt_ = 0;
    bool frontView_ = false;
    Stroke stroke_;
    bool strokeActive_ = false;
    bool strokeShown_ = false;
    bool canEraseStroke_ = false;
    bool canApplyDepth_ = false;
    int depthValue_ = 15;
    bool animationRunning_ = false;
    int animationPhase_ = 0;
};
