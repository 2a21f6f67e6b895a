#include "depth_dialogs.h"

#include "conversions.h"
#include "dialog_buttons.h"
#include "editing.h"
#include "export.h"
#include "texts.h"

#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QValidator>

namespace {

constexpr int kSwatchSize = 14;
constexpr int kDepthDecimals = 2;

// A depth as C writes it, within the slider's range; empty is a field left alone.
std::optional<double> depthOf(const QString &text)
{
    bool ok = false;
    const double depth = QLocale::c().toDouble(text, &ok);
    if (!ok || !(depth >= kDepthLow && depth <= kDepthHigh))
        return std::nullopt;
    return depth;
}

// Takes what can become a depth, so that OK waits for a whole one.
class DepthValidator : public QValidator {
public:
    using QValidator::QValidator;

    State validate(QString &input, int &) const override
    {
        if (input.isEmpty() || depthOf(input))
            return Acceptable;
        for (const QChar c : std::as_const(input))
            if (!c.isDigit() && !QStringLiteral(".eE+-").contains(c))
                return Invalid;
        return Intermediate;
    }
};

QLabel *hint(const char *text, QWidget *parent)
{
    auto *label = new QLabel(QString(text).arg(kDepthLow).arg(kDepthHigh), parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

ColourDepthsDialog::ColourDepthsDialog(const Model &model, int groups, QWidget *parent)
    : QDialog(parent)
    , model_(model)
    , groups_(new QSpinBox(this))
{
    setWindowTitle(QString(Texts::kColourDepthsCaption));
    setWindowModality(Qt::WindowModal);
    auto *layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize); // shrinks and grows with the rows
    layout->addWidget(hint(Texts::kColourDepthsHint, this));
    auto *form = new QFormLayout;
    layout->addLayout(form);
    groups_->setObjectName(QStringLiteral("colourGroups"));
    groups_->setRange(1, kMaxColourGroups);
    groups_->setValue(groups);
    form->addRow(QString(Texts::kDepthGroups), groups_);

    auto *grid = new QGridLayout;
    grid->setColumnStretch(1, 1); // the name beside its swatch, the numbers to the right
    layout->addLayout(grid);
    grid->addWidget(new QLabel(QString(Texts::kDepthColumn), this), 0, 3);
    auto *validator = new DepthValidator(this);
    for (int g = 0; g < kMaxColourGroups; ++g) {
        Row row {new QLabel(this), new QLabel(this), new QLabel(this), new QLineEdit(this)};
        row.name->setObjectName(QStringLiteral("colour%1").arg(g));
        row.points->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row.depth->setObjectName(QStringLiteral("depth%1").arg(g));
        row.depth->setValidator(validator);
        row.depth->setPlaceholderText(QString(Texts::kLeaveDepth));
        row.depth->setMaximumWidth(row.depth->fontMetrics().horizontalAdvance(QString(12, '0')));
        connect(row.depth, &QLineEdit::textChanged, this, &ColourDepthsDialog::checkDepths);
        grid->addWidget(row.swatch, g + 1, 0);
        grid->addWidget(row.name, g + 1, 1);
        grid->addWidget(row.points, g + 1, 2);
        grid->addWidget(row.depth, g + 1, 3);
        rows_ << row;
    }
    buttons_ = addButtons(this, layout);
    connect(groups_, &QSpinBox::valueChanged, this, &ColourDepthsDialog::showGroups);
    showGroups();
}

int ColourDepthsDialog::groups() const
{
    return groups_->value();
}

std::vector<std::optional<double>> ColourDepthsDialog::depths() const
{
    std::vector<std::optional<double>> depths;
    for (std::size_t g = 0; g < grouping_.groups.size(); ++g)
        depths.push_back(depthOf(rows_[qsizetype(g)].depth->text()));
    return depths;
}

void ColourDepthsDialog::showGroups()
{
    grouping_ = groupColours(model_.colours, groups_->value());
    const std::vector<std::optional<double>> shared
        = sharedDepths(model_, grouping_.groupOf, grouping_.groups.size());
    for (qsizetype g = 0; g < rows_.size(); ++g) {
        const Row &row = rows_[g];
        const bool shown = std::size_t(g) < grouping_.groups.size();
        for (QWidget *widget :
             std::initializer_list<QWidget *> {row.swatch, row.name, row.points, row.depth})
            widget->setVisible(shown);
        if (!shown)
            continue;
        const ColourGroup &group = grouping_.groups[std::size_t(g)];
        QPixmap swatch(kSwatchSize, kSwatchSize);
        const Rgb8 rgb = channelsOf(group.swatch);
        swatch.fill(QColor(rgb.red, rgb.green, rgb.blue));
        row.swatch->setPixmap(swatch);
        row.name->setText(QString::fromStdString(colourName(group.swatch)));
        row.points->setText(QString(Texts::kGroupPoints).arg(group.points));
        // A shared depth outside the field's range starts empty, so that OK can leave it.
        const std::optional<double> depth = shared[std::size_t(g)];
        const QString text = depth ? QString::fromStdString(shortestDecimal(*depth)) : QString();
        row.depth->setText(depthOf(text) ? text : QString());
    }
    checkDepths();
}

void ColourDepthsDialog::checkDepths()
{
    bool acceptable = true;
    for (std::size_t g = 0; g < grouping_.groups.size(); ++g)
        acceptable = acceptable && rows_[qsizetype(g)].depth->hasAcceptableInput();
    buttons_->button(QDialogButtonBox::Ok)->setEnabled(acceptable);
}

BrightnessDepthsDialog::BrightnessDepthsDialog(const BrightnessDepths &depths, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QString(Texts::kBrightnessDepthsCaption));
    setWindowModality(Qt::WindowModal);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(hint(Texts::kBrightnessDepthsHint, this));
    auto *form = new QFormLayout;
    layout->addLayout(form);
    const auto addDepth = [&](const char *name, const char *label, double value) {
        auto *box = new QDoubleSpinBox(this);
        box->setObjectName(QString(name));
        box->setDecimals(kDepthDecimals);
        box->setRange(kDepthLow, kDepthHigh);
        box->setValue(value);
        form->addRow(QString(label), box);
        return box;
    };
    black_ = addDepth("black", Texts::kBlackDepth, depths.black);
    white_ = addDepth("white", Texts::kWhiteDepth, depths.white);
    addButtons(this, layout);
}

BrightnessDepths BrightnessDepthsDialog::depths() const
{
    return {black_->value(), white_->value()};
}
