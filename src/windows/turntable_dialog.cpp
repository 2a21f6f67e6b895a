#include "turntable_dialog.h"

#include "texts.h"
#include "turntable_file.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QSpinBox>

namespace {

QSpinBox *addSpinBox(QFormLayout *form, const char *name, const char *label, int minimum,
                     int maximum, int value, const char *suffix = nullptr)
{
    auto *box = new QSpinBox;
    box->setObjectName(QString(name));
    box->setRange(minimum, maximum);
    box->setValue(value);
    if (suffix)
        box->setSuffix(QString(suffix));
    form->addRow(QString(label), box);
    return box;
}

} // namespace

QString askTurntablePath(QWidget *parent, const QString &suggested)
{
    const QStringList filters
        = {QString(Texts::kTurntableWebPFilter), QString(Texts::kTurntableGifFilter),
           QString(Texts::kTurntableFolderFilter)};
    const QStringList suffixes = {QStringLiteral("webp"), QStringLiteral("gif"), QString()};
    // Qt's own dialog as an object rather than its static call: window-modal,
    // so the large view stays in use, and the suffix is added before the
    // dialog asks about overwriting.
    QFileDialog dialog(parent, QString(Texts::kTurntableFileCaption));
    dialog.setObjectName(QStringLiteral("turntableFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setNameFilters(filters);
    const int kind = int(turntableFormatOf(suggested));
    dialog.selectNameFilter(filters[kind]);
    dialog.setDefaultSuffix(suffixes[kind]);
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString &filter) {
        dialog.setDefaultSuffix(suffixes.value(filters.indexOf(filter)));
    });
    dialog.selectFile(suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    QString path = dialog.selectedFiles().constFirst();
    // A name with another extension keeps it and gets the chosen kind's as well.
    const QString chosen = suffixes.value(filters.indexOf(dialog.selectedNameFilter()));
    if (!chosen.isEmpty() && turntableFormatOf(path) == TurntableFormat::PngFolder)
        path += QLatin1Char('.') + chosen;
    return path;
}

TurntableDialog::TurntableDialog(const TurntableOptions &initial, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("turntableDialog"));
    setWindowTitle(QString(Texts::kTurntableOptionsCaption));
    setWindowModality(Qt::WindowModal);
    auto *form = new QFormLayout(this);

    motion_ = new QComboBox;
    motion_->setObjectName(QStringLiteral("motion"));
    motion_->addItems({QString(Texts::kTurntableFullTurn), QString(Texts::kTurntableSwing)});
    motion_->setCurrentIndex(initial.motion == TurntableMotion::Swing ? 1 : 0);
    form->addRow(QString(Texts::kTurntableMotion), motion_);
    frames_ = addSpinBox(form, "frames", Texts::kTurntableFrames, kMinTurntableFrames,
                         kMaxTurntableFrames, initial.frames);
    frames_->setEnabled(motion_->currentIndex() == 0);
    connect(motion_, &QComboBox::currentIndexChanged, frames_,
            [this](int index) { frames_->setEnabled(index == 0); });
    size_ = addSpinBox(form, "size", Texts::kTurntableSize, kMinTurntableSize, kMaxTurntableSize,
                       initial.size, Texts::kPixelsSuffix);
    delay_ = addSpinBox(form, "delay", Texts::kTurntableDelay, kMinTurntableDelay,
                        kMaxTurntableDelay, initial.delayMs, Texts::kMillisecondsSuffix);
    delay_->setSingleStep(10);
    pointSize_ = addSpinBox(form, "pointSize", Texts::kTurntablePointSize, 1, kMaxPointSize,
                            initial.style.size, Texts::kPixelsSuffix);
    shading_ = new QCheckBox(QString(Texts::kTurntableShading));
    shading_->setObjectName(QStringLiteral("shading"));
    shading_->setChecked(initial.style.shading);
    form->addRow(shading_);
    aboutCentre_ = new QCheckBox(QString(Texts::kTurntableAboutCentre));
    aboutCentre_->setObjectName(QStringLiteral("aboutCentre"));
    aboutCentre_->setChecked(initial.aboutCentre);
    form->addRow(aboutCentre_);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

TurntableOptions TurntableDialog::options() const
{
    TurntableOptions options;
    options.motion
        = motion_->currentIndex() == 1 ? TurntableMotion::Swing : TurntableMotion::FullTurn;
    options.frames = frames_->value();
    options.size = size_->value();
    options.delayMs = delay_->value();
    options.style = {pointSize_->value(), shading_->isChecked()};
    options.aboutCentre = aboutCentre_->isChecked();
    return options;
}

std::optional<TurntableOptions> TurntableDialog::ask(QWidget *parent,
                                                     const TurntableOptions &initial)
{
    TurntableDialog dialog(initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.options();
}
