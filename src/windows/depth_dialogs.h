#pragma once

#include "colour_depths.h"
#include "colour_groups.h"
#include "model.h"

#include <QDialog>
#include <QList>

#include <optional>
#include <vector>

class QDialogButtonBox;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QSpinBox;

// 色ごとの奥行き: the model's colours reduced to a number of groups as the 3MF's are, one row a
// group with its swatch, name, points and a depth field. A field starts with the depth that its
// group's points share, empty when they differ; empty, it leaves them. The rows follow the
// number as it changes; OK takes only depths within the slider's range.
class ColourDepthsDialog : public QDialog {
    Q_OBJECT

public:
    ColourDepthsDialog(const Model &model, int groups, QWidget *parent = nullptr);

    int groups() const;
    // Each point's group, as Document::setDepthsByColour() takes it.
    const std::vector<int> &groupOf() const { return grouping_.groupOf; }
    // Each group's depth; none for an empty field.
    std::vector<std::optional<double>> depths() const;

private slots:
    void showGroups();
    void checkDepths();

private:
    struct Row {
        QLabel *swatch;
        QLabel *name;
        QLabel *points;
        QLineEdit *depth;
    };

    const Model &model_;
    QSpinBox *groups_;
    QList<Row> rows_; // one for each group there can be; those beyond the groups hidden
    QDialogButtonBox *buttons_;
    ColourGrouping grouping_;
};

// 明るさで奥行き: the depths of black and of white, each within the slider's range.
class BrightnessDepthsDialog : public QDialog {
    Q_OBJECT

public:
    BrightnessDepthsDialog(const BrightnessDepths &depths, QWidget *parent = nullptr);

    BrightnessDepths depths() const;

private:
    QDoubleSpinBox *black_;
    QDoubleSpinBox *white_;
};
