#include "depth_commands.h"

#include "depth_dialogs.h"
#include "document.h"
#include "platform.h"
#include "settings.h"
#include "texts.h"

#include <QAction>
#include <QMenu>

DepthCommands::DepthCommands(Document &document, QWidget *window, QMenu *menu)
    : QObject(menu)
    , document_(document)
    , window_(window)
    , byColour_(makeAction(menu, "colourDepthsAction", Texts::kMenuColourDepths))
    , byBrightness_(makeAction(menu, "brightnessDepthsAction", Texts::kMenuBrightnessDepths))
{
    connect(byColour_, &QAction::triggered, this, &DepthCommands::setDepthsByColour);
    connect(byBrightness_, &QAction::triggered, this, &DepthCommands::setDepthsByBrightness);
    menu->addActions({byColour_, byBrightness_});
    connect(&document_, &Document::modelChanged, this, &DepthCommands::enableWithPoints);
    enableWithPoints();
}

void DepthCommands::enableWithPoints()
{
    const bool hasPoints = document_.model().count() > 0;
    byColour_->setEnabled(hasPoints);
    byBrightness_->setEnabled(hasPoints);
}

void DepthCommands::setDepthsByColour()
{
    if (document_.model().count() == 0)
        return;
    ColourDepthsDialog dialog(document_.model(), load<Remembered::DepthByColour>(), window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    save<Remembered::DepthByColour>(dialog.groups());
    const BusyCursor busy;
    document_.setDepthsByColour(dialog.groupOf(), dialog.depths());
}

void DepthCommands::setDepthsByBrightness()
{
    if (document_.model().count() == 0)
        return;
    BrightnessDepthsDialog dialog(load<Remembered::DepthByBrightness>(), window_);
    if (dialog.exec() != QDialog::Accepted)
        return;
    save<Remembered::DepthByBrightness>(dialog.depths());
    const BusyCursor busy;
    document_.setDepthsByBrightness(dialog.depths());
}
