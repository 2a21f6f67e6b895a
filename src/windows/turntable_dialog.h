#pragma once

#include "turntable.h"
#include "turntable_file.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QSpinBox;

// Where the turntable goes and as what: the kind chosen in the dialog's list.
struct TurntableTarget {
    QString path;
    TurntableFormat format;
};

// Asks where the turntable goes: an animated WebP or GIF, or a new folder of
// PNG frames, as chosen in the list; the name's extension follows the kind.
// Nothing when the user cancels.
std::optional<TurntableTarget> askTurntablePath(QWidget *parent, const QString &suggested);

// The turntable's frames, size, frame time and point style.
class TurntableDialog : public QDialog {
    Q_OBJECT

public:
    TurntableDialog(const TurntableOptions &initial, QWidget *parent);

    TurntableOptions options() const;

    // Nothing when the user cancels.
    static std::optional<TurntableOptions> ask(QWidget *parent, const TurntableOptions &initial);

private:
    QComboBox *motion_ = nullptr;
    QSpinBox *frames_ = nullptr;
    QSpinBox *size_ = nullptr;
    QSpinBox *delay_ = nullptr;
    QSpinBox *pointSize_ = nullptr;
    QCheckBox *shading_ = nullptr;
    QCheckBox *aboutCentre_ = nullptr;
};
