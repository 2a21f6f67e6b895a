#include "export_commands.h"

#include "document.h"
#include "export_dialogs.h"
#include "file_access.h"
#include "file_lists.h"
#include "messages.h"
#include "platform.h"
#include "settings.h"
#include "texts.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

namespace {

QString menuCaption(const ExportKindInfo &info)
{
    return QString(Texts::kMenuExportKind).arg(QString::fromUtf8(info.label)).arg(info.mnemonic);
}

// Objects named exportPlyAction, export3mfAction and so on, so tests find them by name.
QString actionName(const ExportKindInfo &info)
{
    const QString suffix = QString::fromLatin1(info.suffix);
    return QStringLiteral("export%1%2Action").arg(suffix.left(1).toUpper(), suffix.mid(1));
}

} // namespace

ExportCommands::ExportCommands(const Document &document, QWidget *window, QMenu *menu)
    : QObject(menu)
    , document_(document)
    , window_(window)
{
    for (const ExportKindInfo &info : kExportKinds) {
        QAction *action = new QAction(menuCaption(info), menu);
        action->setObjectName(actionName(info));
        connect(action, &QAction::triggered, this, [this, kind = info.kind] { exportAs(kind); });
        menu->addAction(action);
        actions_ << action;
    }
    connect(&document_, &Document::modelChanged, this, &ExportCommands::enableWithPoints);
    enableWithPoints();
}

void ExportCommands::enableWithPoints()
{
    const bool hasPoints = document_.model().count() > 0;
    for (QAction *action : std::as_const(actions_))
        action->setEnabled(hasPoints);
}

void ExportCommands::exportAs(ExportKind kind)
{
    if (document_.model().count() == 0)
        return;
    const QString path = askPath(kind);
    if (path.isEmpty())
        return;
    const std::optional<ExportOptions> options = askOptions(kind);
    if (!options)
        return;
    const Model &model = document_.model();
    ExportResult result;
    FileResult written;
    {
        const BusyCursor busy;
        result = exportKindInfo(kind).write(model.points, model.colours, *options);
        if (result.ok())
            written = writeFileAtomically(path.toStdString(), result.bytes);
    }
    if (!result.ok()) {
        showError(window_, cannotWriteText(path, exportFailureText(result.error)));
        return;
    }
    if (!written.ok()) {
        showError(window_, cannotWriteText(path, writeFailureText(written)));
        return;
    }
    if (result.nonFinite > 0) {
        QMessageBox box(QMessageBox::Information, QString(Texts::kProduct),
                        QString(Texts::kPointsLeftOut).arg(result.nonFinite), QMessageBox::Ok,
                        window_);
        box.setWindowModality(Qt::WindowModal);
        box.exec();
    }
}

// Qt's save dialog, in the model file's folder under its name; it adds the
// kind's extension to a name typed without one and asks before replacing a file.
QString ExportCommands::askPath(ExportKind kind) const
{
    const ExportKindInfo &info = exportKindInfo(kind);
    const QFileInfo model(document_.fileName());
    const QString name = (document_.fileName().isEmpty() ? QString(Texts::kDefaultFileName)
                                                         : model.completeBaseName())
                         + QLatin1Char('.') + QLatin1String(info.suffix);
    const QString folder
        = document_.fileName().isEmpty() ? dialogStartFolder() : model.absolutePath();
    QFileDialog dialog(window_, QString(Texts::kExportCaption).arg(QLatin1String(info.name)),
                       pathInFolder(folder, name),
                       QString(Texts::kFilterExportKind)
                           .arg(QString::fromUtf8(info.label), QLatin1String(info.suffix)));
    dialog.setObjectName(QStringLiteral("exportFileDialog"));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QLatin1String(info.suffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

std::optional<ExportOptions> ExportCommands::askOptions(ExportKind kind) const
{
    ExportOptions options;
    const ExportKindInfo &info = exportKindInfo(kind);
    // Each kind asks only for what it takes; the pixel size is the solids' and the glb's alike.
    options.solid = load<Remembered::Solid>();
    if (info.takes & kTakesPlyText) {
        PlyOptionsDialog dialog(load<Remembered::Ply>(), window_);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        options.ply = dialog.options();
        save<Remembered::Ply>(options.ply);
    } else if (info.takes & kTakesHeights) {
        SolidOptionsDialog dialog(document_.model(), options.solid, QLatin1String(info.name),
                                  info.takes & kTakesColourGroups, window_);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        options.solid = dialog.options();
        save<Remembered::Solid>(options.solid);
    } else if (info.takes & kTakesPixelSize) {
        PixelSizeDialog dialog(options.solid.pixelSize, QLatin1String(info.name), window_);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        options.solid.pixelSize = dialog.pixelSize();
        save<Remembered::Solid>(options.solid);
    }
    return options;
}
