#include "export_dialogs.h"

#include "dialog_buttons.h"
#include "messages.h"
#include "texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <utility>

namespace {

constexpr int kDecimals = 3;
constexpr int kSwatchSize = 14;

// Rows the colour list shows before it scrolls: 16 groups would make the dialog too tall.
constexpr int kGroupRows = 6;

void makeOptionsDialog(QDialog *dialog, const QString &kind)
{
    dialog->setWindowTitle(QString(Texts::kOptionsCaption).arg(kind));
    dialog->setWindowModality(Qt::WindowModal);
}

QPixmap swatch(Colour colour)
{
    QPixmap pixmap(kSwatchSize, kSwatchSize);
    pixmap.fill(QColor(colour & 0xFF, colour >> 8 & 0xFF, colour >> 16 & 0xFF));
    return pixmap;
}

QString millimetres(double value)
{
    return QString::number(value, 'f', 2);
}

QDoubleSpinBox *lengthBox(QWidget *parent, const char *name, double value, LengthLimits range)
{
    auto *box = new QDoubleSpinBox(parent);
    box->setObjectName(QString(name));
    box->setDecimals(kDecimals);
    box->setRange(range.low, range.high);
    box->setSingleStep(range.step);
    box->setSuffix(QString(Texts::kMillimetres));
    box->setValue(value);
    return box;
}

} // namespace

PlyOptionsDialog::PlyOptionsDialog(const PlyOptions &options, QWidget *parent)
    : QDialog(parent)
    , binary_(new QRadioButton(QString(Texts::kPlyBinary), this))
    , ascii_(new QRadioButton(QString(Texts::kPlyAscii), this))
{
    makeOptionsDialog(this, QStringLiteral("PLY"));
    binary_->setObjectName(QStringLiteral("binary"));
    ascii_->setObjectName(QStringLiteral("ascii"));
    (options.ascii ? ascii_ : binary_)->setChecked(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(binary_);
    layout->addWidget(ascii_);
    addButtons(this, layout);
}

PlyOptions PlyOptionsDialog::options() const
{
    PlyOptions options;
    options.ascii = ascii_->isChecked();
    return options;
}

SolidOptionsDialog::SolidOptionsDialog(const Model &model, const SolidOptions &options,
                                       const QString &kind, bool colourGroups, QWidget *parent)
    : QDialog(parent)
    , model_(model)
    , groupsWanted_(options.colourGroups)
    , slicerWanted_(options.slicer)
{
    makeOptionsDialog(this, kind);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);
    const auto addLength
        = [&](const char *name, const char *label, double value, LengthLimits range) {
              QDoubleSpinBox *box = lengthBox(this, name, value, range);
              // The summary rebuilds the relief: once per value, not per keystroke.
              box->setKeyboardTracking(false);
              form->addRow(QString(label), box);
              connect(box, &QDoubleSpinBox::valueChanged, this, &SolidOptionsDialog::showSummary);
              return box;
          };
    pixelSize_ = addLength("pixelSize", Texts::kPixelSize, options.pixelSize, kPixelSizeLimits);
    depthScale_
        = addLength("depthScale", Texts::kDepthScale, options.depthScale, kDepthScaleLimits);
    inkHeight_ = addLength("inkHeight", Texts::kInkHeight, options.inkHeight, kInkHeightLimits);
    baseThickness_ = addLength("baseThickness", Texts::kBaseThickness, options.baseThickness,
                               kBaseThicknessLimits);
    reverse_ = new QCheckBox(QString(Texts::kReverse), this);
    reverse_->setObjectName(QStringLiteral("reverse"));
    reverse_->setChecked(options.reverse);
    form->addRow(reverse_);
    connect(reverse_, &QCheckBox::toggled, this, &SolidOptionsDialog::showSummary);
    nozzle_ = addLength("nozzle", Texts::kNozzle, options.nozzle, kNozzleLimits);
    thicken_ = new QSpinBox(this);
    thicken_->setObjectName(QStringLiteral("thicken"));
    thicken_->setRange(0, kMaxThicken);
    thicken_->setSuffix(QString(Texts::kPixelsSuffix));
    thicken_->setValue(options.thicken);
    thicken_->setKeyboardTracking(false);
    form->addRow(QString(Texts::kThicken), thicken_);
    connect(thicken_, &QSpinBox::valueChanged, this, &SolidOptionsDialog::showSummary);
    if (colourGroups) {
        colourGroups_ = new QSpinBox(this);
        colourGroups_->setObjectName(QStringLiteral("colourGroups"));
        colourGroups_->setRange(1, kMaxColourGroups);
        colourGroups_->setValue(options.colourGroups);
        colourGroups_->setKeyboardTracking(false);
        form->addRow(QString(Texts::kColourGroups), colourGroups_);
        connect(colourGroups_, &QSpinBox::valueChanged, this, &SolidOptionsDialog::showSummary);
        slicer_ = new QComboBox(this);
        slicer_->setObjectName(QStringLiteral("slicer"));
        for (const char *name : Texts::kSlicers) // in the order of Slicer
            slicer_->addItem(QString(name));
        slicer_->setCurrentIndex(int(options.slicer));
        form->addRow(QString(Texts::kSlicer), slicer_);
    }

    size_ = new QLabel(this);
    size_->setObjectName(QStringLiteral("size"));
    counts_ = new QLabel(this);
    counts_->setObjectName(QStringLiteral("counts"));
    findings_ = new QLabel(this);
    findings_->setObjectName(QStringLiteral("findings"));
    warning_ = new QLabel(QString(Texts::kPrintWarning), this);
    warning_->setObjectName(QStringLiteral("warning"));
    warning_->setWordWrap(true);
    warning_->setStyleSheet(QStringLiteral("color: #B00020"));
    layout->addWidget(size_);
    layout->addWidget(counts_);
    layout->addWidget(findings_);
    layout->addWidget(warning_);
    if (colourGroups) {
        groups_ = new QListWidget(this);
        groups_->setObjectName(QStringLiteral("groups"));
        groups_->setSelectionMode(QAbstractItemView::NoSelection);
        groups_->setFocusPolicy(Qt::NoFocus);
        groups_->setFixedHeight(kGroupRows * groups_->fontMetrics().height() + 8);
        layout->addWidget(groups_);
    }
    buttons_ = addButtons(this, layout);
    showSummary();
}

SolidOptions SolidOptionsDialog::options() const
{
    SolidOptions options;
    options.pixelSize = pixelSize_->value();
    options.depthScale = depthScale_->value();
    options.inkHeight = inkHeight_->value();
    options.baseThickness = baseThickness_->value();
    options.reverse = reverse_->isChecked();
    options.nozzle = nozzle_->value();
    options.thicken = thicken_->value();
    // The STL has no colours; what the 3MF was last given stays remembered.
    options.colourGroups = colourGroups_ ? colourGroups_->value() : groupsWanted_;
    options.slicer = slicer_ ? Slicer(slicer_->currentIndex()) : slicerWanted_;
    return options;
}

void SolidOptionsDialog::showSummary()
{
    const SolidSummary summary = summarizeSolid(model_.points, model_.colours, options());
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(summary.ok());
    if (summary.ok())
        size_->setText(QString(Texts::kSolidSize)
                           .arg(millimetres(summary.width), millimetres(summary.height),
                                millimetres(summary.thickness)));
    else
        size_->setText(exportFailureText(summary.error));
    // Only a model file from elsewhere holds such points: the line shows only for those.
    QStringList counts;
    for (const auto &[text, count] : {std::pair {Texts::kSolidSnapped, summary.snapped},
                                      std::pair {Texts::kSolidDropped, summary.dropped},
                                      std::pair {Texts::kSolidNonFinite, summary.nonFinite}})
        if (count > 0)
            counts << QString(text).arg(count);
    counts_->setText(counts.join(QString(Texts::kSolidCountsSeparator)));
    counts_->setHidden(counts.isEmpty());
    const Printability &print = summary.printability;
    findings_->setText(QString(Texts::kPrintFindings)
                           .arg(print.thinColumns)
                           .arg(millimetres(nozzle_->value()))
                           .arg(print.tallestRatio, 0, 'f', 1));
    findings_->setVisible(summary.ok());
    warning_->setVisible(summary.ok() && print.warns());
    if (!groups_)
        return;
    groups_->clear();
    for (const ColourGroup &group : summary.groups)
        new QListWidgetItem(QIcon(swatch(group.swatch)),
                            QString::fromStdString(colourName(group.swatch)) + QStringLiteral("  ")
                                + QString(Texts::kGroupPoints).arg(group.points),
                            groups_);
}

PixelSizeDialog::PixelSizeDialog(double pixelSize, const QString &kind, QWidget *parent)
    : QDialog(parent)
    , pixelSize_(lengthBox(this, "pixelSize", pixelSize, kPixelSizeLimits))
{
    makeOptionsDialog(this, kind);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);
    form->addRow(QString(Texts::kPixelSize), pixelSize_);
    addButtons(this, layout);
}

double PixelSizeDialog::pixelSize() const
{
    return pixelSize_->value();
}
