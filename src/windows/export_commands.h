#pragma once

#include "export_kinds.h"

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
    // Adds the commands to `menu`; `window` is the parent of the dialogs.
    ExportCommands(const Document &document, QWidget *window, QMenu *menu);

private slots:
    void enableWithPoints();

private:
    void exportAs(ExportKind kind);
    QString askPath(ExportKind kind) const;
    // The kind's options as the user chose them, or nothing when cancelled.
    std::optional<ExportOptions> askOptions(ExportKind kind) const;

    const Document &document_;
    QWidget *window_;
    QList<QAction *> actions_;
};
