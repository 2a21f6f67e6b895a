#pragma once

#include "export.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class Document;
class QAction;
class QMenu;
class QWidget;

// The export submenu's commands, one per kind of file, enabled while the model
// has points. Each asks for a file and the kind's options, remembered between
// runs, and writes the file atomically; a failure is told and loses nothing.
class ExportCommands : public QObject {
    Q_OBJECT

public:
    enum class Kind { Ply, Xyz, Glb, Stl, ThreeMf };

    // Adds the commands to `menu`; `window` is the parent of the dialogs.
    ExportCommands(Document &document, QWidget *window, QMenu *menu);

private slots:
    void showHasPoints();

private:
    void exportAs(Kind kind);
    QString askPath(Kind kind) const;
    // The file's bytes, or nothing when the user cancelled the options.
    std::optional<ExportResult> produce(Kind kind) const;

    Document &document_;
    QWidget *window_;
    QList<QAction *> actions_;
};
