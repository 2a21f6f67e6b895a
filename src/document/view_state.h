#pragma once

#include "document.h"
#include "editing.h"
#include "renderer.h"

#include <QObject>

// How the document is looked at: the view angles, whether the editing tools
// show the model unturned, the depth stroke and the slider's value, and the
// swing animation. Nothing of it is saved or undone. Every view of the program
// draws through it, so they all show the same.
class ViewState : public QObject {
    Q_OBJECT

public:
    explicit ViewState(Document &document, QObject *parent = nullptr);

    const Document &document() const { return document_; }
    double turn() const { return angles_.turn; }
    double tilt() const { return angles_.tilt; }
    // The editing tools show the model unturned, whatever the angles say.
    bool showsFrontView() const { return frontView_; }
    // Where a turntable starts: the angles shown, 0 in the front view.
    ViewAngles shownAngles() const { return frontView_ ? ViewAngles {} : angles_; }
    const Stroke &stroke() const { return stroke_; }
    // The stroke's outline is drawn over the view.
    bool strokeShown() const { return strokeShown_; }
    bool canEraseStroke() const { return canEraseStroke_; }
    bool canApplyDepth() const { return canApplyDepth_; }
    int depthValue() const { return depthValue_; }
    bool animationRunning() const { return animationRunning_; }

    // The document's model as this view shows it, through any projection.
    void draw(Surface &surface, ViewRenderer &renderer, const Projection &projection,
              const PointStyle &style = {}) const;
    // The main view as it is shown and saved, the stroke's outline included.
    void drawMainView(Surface &surface, ViewRenderer &renderer) const;

    // Angles are never wrapped: 73 steps of 5 degrees give 365.
    void turnBy(double turnDegrees, double tiltDegrees);
    void showFront();
    void setDepthValue(int value);

    // The depth stroke, in pixels of the main view.
    void pressStroke(float x, float y);
    void dragStroke(float x, float y);
    void releaseStroke();
    void eraseStroke();
    // The slider's depth inside the stroke, as a step of the document.
    void setStrokeDepth();

    // The phase is kept, so a restart goes on from the frame after the last one shown.
    void toggleAnimation();
    void advanceAnimation();

signals:
    // What the views show has changed: the model, the angles or the stroke.
    void viewChanged();
    void canEraseStrokeChanged(bool can);
    void canApplyDepthChanged(bool can);
    void depthValueChanged(int value);
    void animationRunningChanged(bool running);

private slots:
    void showEdited(Document::Step step, Document::Edit edit);
    void stopWithoutModel(bool hasModel);

private:
    // Angles 0, and the model turned or unturned; the stroke's outline hidden.
    void showAtZero(bool frontView);
    void setCanEraseStroke(bool can);
    void setCanApplyDepth(bool can);

    Document &document_;
    ViewAngles angles_;
    bool frontView_ = false;
    Stroke stroke_;
    bool strokeActive_ = false;
    bool strokeShown_ = false;
    bool canEraseStroke_ = false;
    bool canApplyDepth_ = false;
    int depthValue_ = kStartDepth;
    bool animationRunning_ = false;
    int animationPhase_ = 0;
};
