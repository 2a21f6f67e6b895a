#pragma once

#include "image_surface.h"
#include "renderer.h"

#include <QPointF>
#include <QWidget>

class ViewState;
class QActionGroup;
class QMenu;

// Zoom and pan on top of the projection that fits the model to the view.
struct ViewNavigation {
    // Bounds that no number of wheel turns can pass, so the scale stays sane.
    static constexpr double kMinZoom = 1.0 / 16;
    static constexpr double kMaxZoom = 64;

    double zoom = 1;
    QPointF pan;
    // Where panning is bounded about: the pan of the last fit to a model.
    QPointF home;

    Projection applied(const Projection &fitted) const;
    // The zoom and pan that show the box of model coordinates (horizontal right, vertical up)
    // whole and in the middle of a view of this size, with a margin.
    static ViewNavigation fitting(const Projection &fitted, QRectF box, QSizeF view);
    // Multiplies the zoom by `factor`, keeping the model point under `cursor` under it.
    void zoomAbout(const Projection &fitted, QPointF cursor, double factor);
    void panBy(const Projection &fitted, QPointF offset);

private:
    // The model's middle stays within reach of the window.
    void boundPan(const Projection &fitted);
};

// A resizable window of its own that shows the model as the view state shows
// it, scaled to the window. A left drag turns the model through the view
// state, so every view follows; the wheel zooms about the
// pointer, a right drag pans and a double click returns to the front view, the model's
// bounding box fitted to the window.
class LargeView : public QWidget {
    Q_OBJECT

public:
    explicit LargeView(ViewState &viewState);
    ~LargeView() override;

    const ImageSurface &surface() const { return surface_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private slots:
    void redraw();
    void setPointSize(int size);
    void setShading(bool shading);

private:
    enum class Drag { None, Turn, Pan };

    void createContextMenu();
    Projection fitted() const;

    ViewState &viewState_;
    ViewRenderer renderer_;
    ImageSurface surface_;
    ViewNavigation navigation_;
    PointStyle style_;
    Drag drag_ = Drag::None;
    QPointF last_;
    // A right press that does not move far opens the menu on release.
    QPointF rightPressedAt_;
    QMenu *contextMenu_ = nullptr;
};
