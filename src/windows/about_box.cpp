#include "about_box.h"

#include "platform.h"
#include "texts.h"

#include <QApplication>
#include <QIcon>
#include <QLabel>

namespace {

// The box was designed for a Japanese font that may not be installed; the
// installed Japanese font stands in.
QFont versionFont(double points)
{
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                      QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Noto Sans JP")});
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

// Places a label at its designed spot, grown where the stand-in font is wider
// or taller than the designed size, so nothing is clipped.
QLabel *makeLabel(QWidget *parent, const char *name, const char *text, QRect geometry,
                  double points)
{
    auto *label = new QLabel(QString(text), parent);
    label->setObjectName(QString(name));
    label->setFont(versionFont(points));
    const QSize needed = label->sizeHint();
    label->setGeometry(geometry.x(), geometry.y(), std::max(geometry.width(), needed.width()),
                       std::max(geometry.height(), needed.height()));
    return label;
}

} // namespace

AboutBox::AboutBox(QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QString(Texts::kAboutCaption));
    setWindowModality(Qt::WindowModal);
    setFixedSize(312, 96);

    auto *icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setGeometry(40, 24, 32, 32);
    icon->setPixmap(QApplication::windowIcon().pixmap(32, 32));

    makeLabel(this, "product", Texts::kProduct, {112, 24, 106, 19}, 14.25);
    makeLabel(this, "version", Texts::kAboutVersion, {120, 48, 97, 16}, 12.0);
    placeWindow(this);
}
