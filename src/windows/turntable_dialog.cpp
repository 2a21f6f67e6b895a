#include "turntable_dialog.h"

#include "texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QLineEdit>
#include <QSpinBox>

#include <cstring>

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

// In the order of TurntableFormat.
const char *const kFilters[]
    = {Texts::kTurntableWebPFilter, Texts::kTurntableGifFilter, Texts::kTurntableFolderFilter};
const char *const kSuffixes[] = {"webp", "gif", ""};

// The name with the kind's extension: another kind's is replaced, any other extension kept.
QString withKindSuffix(QString name, TurntableFormat kind)
{
    const TurntableFormat typed = turntableFormatOf(name);
    if (name.isEmpty() || typed == kind)
        return name;
    if (typed != TurntableFormat::PngFolder)
        name.chop(qsizetype(std::strlen(kSuffixes[int(typed)])) + 1);
    if (kind != TurntableFormat::PngFolder)
        name += QLatin1Char('.') + QLatin1String(kSuffixes[int(kind)]);
    return name;
}

// Qt's own dialog, never the desktop's: only there can the typed name follow the kind
// chosen in the list, before the dialog asks about replacing a file of that name.
class TurntableFileDialog : public QFileDialog {
public:
    TurntableFileDialog(QWidget *parent, const QString &suggested)
        : QFileDialog(parent, QString(Texts::kTurntableFileCaption))
    {
        setObjectName(QStringLiteral("turntableFileDialog"));
        setOption(QFileDialog::DontUseNativeDialog);
        setAcceptMode(QFileDialog::AcceptSave);
        // Window-modal, so the large view stays in use.
        setWindowModality(Qt::WindowModal);
        QStringList filters;
        for (const char *filter : kFilters)
            filters << QString(filter);
        setNameFilters(filters);
        selectNameFilter(filters[int(turntableFormatOf(suggested))]);
        selectFile(suggested);
        connect(this, &QFileDialog::filterSelected, this, &TurntableFileDialog::followKind);
    }

    TurntableFormat kind() const
    {
        for (int kind = 0; kind < 3; ++kind)
            if (selectedNameFilter() == QString(kFilters[kind]))
                return TurntableFormat(kind);
        return TurntableFormat::WebP;
    }

    void accept() override
    {
        followKind();
        QFileDialog::accept();
    }

private:
    void followKind()
    {
        if (auto *name = findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
            name->setText(withKindSuffix(name->text(), kind()));
    }
};

} // namespace

std::optional<TurntableTarget> askTurntablePath(QWidget *parent, const QString &suggested)
{
    TurntableFileDialog dialog(parent, suggested);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const TurntableFormat kind = dialog.kind();
    return TurntableTarget {withKindSuffix(dialog.selectedFiles().constFirst(), kind), kind};
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
