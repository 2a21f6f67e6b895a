#pragma once

#include "export.h"
#include "model.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QRadioButton;
class QSpinBox;

// The PLY export's one choice: binary or text.
class PlyOptionsDialog : public QDialog {
    Q_OBJECT

public:
    PlyOptionsDialog(const PlyOptions &options, QWidget *parent = nullptr);

    PlyOptions options() const;

private:
    QRadioButton *binary_;
    QRadioButton *ascii_;
};

// The options of a printable relief, with the outer size, the counts of points
// moved or left out, how it will print with the nozzle and, for the 3MF, the
// slicer and the colour groups that they give the model, shown afresh as the
// options change.
class SolidOptionsDialog : public QDialog {
    Q_OBJECT

public:
    // `kind` names the format in the caption; `colourGroups` asks for the 3MF's colours too.
    SolidOptionsDialog(const Model &model, const SolidOptions &options, const QString &kind,
                       bool colourGroups, QWidget *parent = nullptr);

    SolidOptions options() const;

private slots:
    void showSummary();

private:
    const Model &model_;
    QDoubleSpinBox *pixelSize_;
    QDoubleSpinBox *depthScale_;
    QDoubleSpinBox *inkHeight_;
    QDoubleSpinBox *baseThickness_;
    QCheckBox *reverse_;
    QDoubleSpinBox *nozzle_;
    QSpinBox *thicken_;
    QSpinBox *colourGroups_ = nullptr;
    QComboBox *slicer_ = nullptr;
    QLabel *size_;
    QLabel *counts_;
    QLabel *findings_;
    QLabel *warning_;
    QListWidget *groups_ = nullptr;
    QDialogButtonBox *buttons_;
    int groupsWanted_;
    Slicer slicerWanted_;
};

// The glb's one choice: the width of a pixel, as the solids have it.
class PixelSizeDialog : public QDialog {
    Q_OBJECT

public:
    PixelSizeDialog(double pixelSize, const QString &kind, QWidget *parent = nullptr);

    double pixelSize() const;

private:
    QDoubleSpinBox *pixelSize_;
};
