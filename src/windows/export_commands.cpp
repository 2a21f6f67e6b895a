#include "export_commands.h"

#include "document.h"
#include "export_dialogs.h"
#include "file_access.h"
#include "file_lists.h"
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

struct KindInfo {
    ExportKind kind;
    const char *action;
    const char *caption;
    const char *filter;
    const char *suffix;
    const char *name;
};

constexpr KindInfo kKinds[] = {
    {ExportKind::Ply, "exportPlyAction", Texts::kMenuExportPly, Texts::kFilterPly, "ply", "PLY"},
    {ExportKind::Xyz, "exportXyzAction", Texts::kMenuExportXyz, Texts::kFilterXyz, "xyz", "XYZ"},
    {ExportKind::Glb, "exportGlbAction", Texts::kMenuExportGlb, Texts::kFilterGlb, "glb", "glTF"},
    {ExportKind::Stl, "exportStlAction", Texts::kMenuExportStl, Texts::kFilterStl, "stl", "STL"},
    {ExportKind::ThreeMf, "export3mfAction", Texts::kMenuExport3mf, Texts::kFilter3mf, "3mf",
     "3MF"},
};

const KindInfo &infoOf(ExportKind kind)
{
    for (const KindInfo &info : kKinds)
        if (info.kind == kind)
            return info;
    return kKinds[0];
}

QString cannotWrite(const QString &path, const QString &reason)
{
    return QString(Texts::kCannotWriteFile).arg(QDir::toNativeSeparators(path), reason);
}

} // namespace

ExportCommands::ExportCommands(const Document &document, QWidget *window, QMenu *menu)
    : QObject(menu)
    , document_(document)
    , window_(window)
{
    for (const KindInfo &info : kKinds) {
        QAction *action = makeAction(menu, info.action, info.caption);
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
        result = exportFile(kind, model.points, model.colours, *options);
        if (result.ok())
            written = writeFileAtomically(path.toStdString(), result.bytes);
    }
    if (!result.ok()) {
        showError(window_,
                  cannotWrite(path, QString(Texts::kReasonCannotExport) + QStringLiteral(" (")
                                        + QString::fromStdString(result.error) + QLatin1Char(')')));
        return;
    }
    if (!written.ok()) {
        showError(window_,
                  cannotWrite(path, written.error != 0 ? systemErrorText(written.error)
                                                       : QString(Texts::kReasonWriteFailed)));
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
    const KindInfo &info = infoOf(kind);
    const QFileInfo model(document_.fileName());
    const QString name = (document_.fileName().isEmpty() ? QString(Texts::kDefaultFileName)
                                                         : model.completeBaseName())
                         + QLatin1Char('.') + QLatin1String(info.suffix);
    const QString folder
        = document_.fileName().isEmpty() ? dialogStartFolder() : model.absolutePath();
    QFileDialog dialog(window_, QString(Texts::kExportCaption).arg(QLatin1String(info.name)),
                       pathInFolder(folder, name), QString(info.filter));
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
    if (kind == ExportKind::Ply) {
        PlyOptionsDialog dialog(loadPlyOptions(), window_);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        options.ply = dialog.options();
        savePlyOptions(options.ply);
    } else if (kind == ExportKind::Stl || kind == ExportKind::ThreeMf) {
        SolidOptionsDialog dialog(document_.model(), loadSolidOptions(),
                                  QLatin1String(infoOf(kind).name), kind == ExportKind::ThreeMf,
                                  window_);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        options.solid = dialog.options();
        saveSolidOptions(options.solid);
    }
    return options;
}
