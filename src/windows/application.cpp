#include "application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QStyleFactory>

void setUpApplication(QApplication &app)
{
    Q_INIT_RESOURCE(resources);
    app.setApplicationName(QStringLiteral("ZUVORAK"));
    app.setWindowIcon(QIcon(QStringLiteral(":/zuvorak/zuvorak.png")));
    // One style everywhere, so the fixed layouts look the same on every desktop.
    app.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));

    QFont font;
    font.setFamilies({QStringLiteral("MS UI Gothic"), QStringLiteral("Noto Sans CJK JP"),
                      QStringLiteral("Noto Sans JP")});
    font.setPixelSize(12);
    app.setFont(font);
}
