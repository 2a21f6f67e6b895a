#include "export_commands.h"

#include "document.h"
#include "export_dialogs.h"
#include "settings.h"
#include "file_access.h"
#include "file_lists.h"
#include "platform.h"
#include "texts.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>

namespace {

struct KindInfo {
    ExportCommands::Kind kind;
    const char *action;
    const char *caption;
    const char *filter;
    const char *suffix;
    const char *name;
};

constexpr KindInfo kKinds[] = {
    {ExportCommands::Kind::Ply, "exportPlyAction", Texts::kMenuExportPly, Texts::kFilterPly, "ply",
     "PLY"},
    {ExportCommands::Kind::Xyz, "exportXyzAction", Texts::kMenuExportXyz, Texts::kFilterXyz, "xyz",
     "XYZ"},
    {ExportCommands::Kind::Glb, "exportGlbAction", Texts::kMenuExportGlb, Texts::kFilterGlb, "glb",
     "glTF"},
    {ExportCommands::Kind::Stl, "exportStlAction", Texts::kMenuExportStl, Texts::kFilterStl, "stl",
     "STL"},
    {ExportCommands::Kind::ThreeMf, "export3mfAction", Texts::kMenuExport3mf, Texts::kFilter3mf,
     "3mf", "3MF"},
};

const KindInfo &infoOf(ExportCommands::Kind kind)
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

ExportCommands::ExportCommands(Document &document, QWidget *window, QMenu *menu)
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
    connect(&document_, &Document::modelChanged, this, &ExportCommands::showHasPoints);
    showHasPoints();
}

void ExportCommands::showHasPoints()
{
    const bool hasPoints = document_.model().count() > 0;
    for (QAction *action : std::as_const(actions_))
        action->setEnabled(hasPoints);
}

void ExportCommands::exportAs(Kind kind)
{
    if (document_.model().count() == 0)
        return;
    const QString path = askPath(kind);
    if (path.isEmpty())
        return;
    const std::optional<ExportResult> result = produce(kind);
    if (!result)
        return;
    if (!result->ok()) {
        showError(window_,
                  cannotWrite(path, QString(Texts::kReasonCannotExport) + QStringLiteral(" (")
                                        + QString::fromStdString(result->error)
                                        + QLatin1Char(')')));
        return;
    }
    FileResult written;
    {
        const BusyCursor busy;
        written = writeFileAtomically(path.toStdString(), result->bytes);
    }
    if (!written.ok()) {
        showError(window_,
                  cannotWrite(path, written.error != 0 ? systemErrorText(written.error)
                                                       : QString(Texts::kReasonWriteFailed)));
        return;
    }
    if (result->nonFinite > 0) {
        QMessageBox box(QMessageBox::Information, QString(Texts::kProduct),
                        QString(Texts::kPointsLeftOut).arg(result->nonFinite), QMessageBox::Ok,
                        window_);
        box.setWindowModality(Qt::WindowModal);
        box.exec();
    }
}

// Qt's save dialog, in the model file's folder under its name; it adds the
// kind's extension to a name typed without one and asks before replacing a file.
QString ExportCommands::askPath(Kind kind) const
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

std::optional<ExportResult> ExportCommands::produce(Kind kind) const
{
    const Model &model = document_.model();
    switch (kind) {
    case Kind::Ply: {
        PlyOptionsDialog dialog(loadPlyOptions(), window_);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        savePlyOptions(dialog.options());
        const BusyCursor busy;
        return exportPly(model.points, model.colours, dialog.options());
    }
    case Kind::Xyz: {
        const BusyCursor busy;
        return exportXyz(model.points, model.colours);
    }
    case Kind::Glb: {
        const BusyCursor busy;
        return exportGlb(model.points, model.colours);
    }
    case Kind::Stl:
    case Kind::ThreeMf: {
        const bool threeMf = kind == Kind::ThreeMf;
        SolidOptionsDialog dialog(model, loadSolidOptions(), QLatin1String(infoOf(kind).name),
                                  threeMf, window_);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        saveSolidOptions(dialog.options());
        const BusyCursor busy;
        return threeMf ? export3mf(model.points, model.colours, dialog.options())
                       : exportStl(model.points, model.colours, dialog.options());
    }
    }
    return std::nullopt;
}
