#include "application.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QStyleFactory>
#include <QTranslator>

void setUpApplication(QApplication &app)
{
    Q_INIT_RESOURCE(resources);
    // Qt's own Japanese texts for the standard buttons ("はい", "いいえ").
    auto *translator = new QTranslator(&app);
    if (translator->load(QStringLiteral("qtbase_ja"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(translator);
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
