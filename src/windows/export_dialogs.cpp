#include "export_dialogs.h"

#include "messages.h"
#include "texts.h"

#include <QCheckBox>
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

QDialogButtonBox *addButtons(QDialog *dialog, QLayout *layout)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->setObjectName(QStringLiteral("buttons"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    layout->addWidget(buttons);
    return buttons;
}

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
{
    makeOptionsDialog(this, kind);
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    layout->addLayout(form);
    const auto addLength
        = [&](const char *name, const char *label, double value, LengthLimits range) {
              auto *box = new QDoubleSpinBox(this);
              box->setObjectName(QString(name));
              box->setDecimals(kDecimals);
              box->setRange(range.low, range.high);
              box->setSingleStep(range.step);
              box->setSuffix(QString(Texts::kMillimetres));
              box->setValue(value);
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
    if (colourGroups) {
        colourGroups_ = new QSpinBox(this);
        colourGroups_->setObjectName(QStringLiteral("colourGroups"));
        colourGroups_->setRange(1, kMaxColourGroups);
        colourGroups_->setValue(options.colourGroups);
        colourGroups_->setKeyboardTracking(false);
        form->addRow(QString(Texts::kColourGroups), colourGroups_);
        connect(colourGroups_, &QSpinBox::valueChanged, this, &SolidOptionsDialog::showSummary);
    }

    size_ = new QLabel(this);
    size_->setObjectName(QStringLiteral("size"));
    counts_ = new QLabel(this);
    counts_->setObjectName(QStringLiteral("counts"));
    layout->addWidget(size_);
    layout->addWidget(counts_);
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
    // The STL has no colours; what the 3MF was last given stays remembered.
    options.colourGroups = colourGroups_ ? colourGroups_->value() : groupsWanted_;
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
    if (!groups_)
        return;
    groups_->clear();
    for (const ColourGroup &group : summary.groups)
        new QListWidgetItem(QIcon(swatch(group.swatch)),
                            QString::fromStdString(colourName(group.swatch)) + QStringLiteral("  ")
                                + QString(Texts::kGroupPoints).arg(group.points),
                            groups_);
}
