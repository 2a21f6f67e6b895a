#include "export_menu.h"

#include "document.h"
#include "export_commands.h"
#include "messages.h"
#include "platform.h"
#include "settings.h"
#include "texts.h"
#include "turntable_dialog.h"
#include "turntable_file.h"
#include "view_state.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

namespace {

// Beside the model file under its name, or in the home folder.
QString suggestedTurntablePath(const QString &modelFile)
{
    const QString last = load<Remembered::TurntablePath>();
    if (!last.isEmpty())
        return last;
    if (modelFile.isEmpty())
        return QDir::home().filePath(QStringLiteral("turntable.webp"));
    const QFileInfo model(modelFile);
    return model.dir().filePath(model.completeBaseName() + QStringLiteral(".webp"));
}

} // namespace

ExportMenu::ExportMenu(ViewState &viewState, QWidget *window)
    : QMenu(QString(Texts::kMenuExport), window)
    , viewState_(viewState)
    , window_(window)
{
    setObjectName(QStringLiteral("exportMenu"));
    menuAction()->setObjectName(QStringLiteral("exportMenuAction"));
    new ExportCommands(viewState_.document(), window, this);
    addSeparator();
    turntableAction_ = addAction(QString(Texts::kMenuTurntable));
    turntableAction_->setObjectName(QStringLiteral("turntableAction"));
    connect(turntableAction_, &QAction::triggered, this, &ExportMenu::exportTurntable);

    connect(&viewState_.document(), &Document::modelChanged, this, &ExportMenu::enableWithPoints);
    enableWithPoints();
}

void ExportMenu::enableWithPoints()
{
    const bool hasPoints = viewState_.document().model().count() > 0;
    menuAction()->setEnabled(hasPoints);
    turntableAction_->setEnabled(hasPoints);
}

void ExportMenu::exportTurntable()
{
    const Document &document = viewState_.document();
    const std::optional<TurntableTarget> target
        = askTurntablePath(window_, suggestedTurntablePath(document.fileName()));
    if (!target)
        return;
    const QString &path = target->path;
    const std::optional<TurntableOptions> chosen
        = TurntableDialog::ask(window_, load<Remembered::Turntable>());
    if (!chosen)
        return;
    save<Remembered::Turntable>(*chosen);
    save<Remembered::TurntablePath>(path);

    TurntableOptions options = *chosen;
    options.start = viewState_.shownAngles();
    // Events run while it writes: the file shows the model as it was when asked for.
    const Model model = document.model();
    QProgressDialog progress(QString(Texts::kTurntableProgress), QString(Texts::kCancel), 0, 1,
                             window_);
    progress.setObjectName(QStringLiteral("turntableProgress"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(250);
    progress.setValue(0); // starts the clock that decides whether it shows
    const TurntableResult result
        = writeTurntable(model, options, path, target->format, [&](int done, int total) {
              if (progress.maximum() != total)
                  progress.setMaximum(total);
              progress.setValue(done);
              return !progress.wasCanceled();
          });
    progress.reset();
    if (result.nothingToDraw)
        showError(window_, cannotWriteText(path, QString(Texts::kNothingToDraw)));
    else if (!result.cancelled && !result.written.ok())
        showError(window_, pictureFailureText(path, result.written, true));
}
