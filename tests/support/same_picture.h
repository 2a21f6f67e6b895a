#pragma once

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTest>

// Compares pixels; on a difference writes both pictures into the build folder's
// test-pictures, named after the test function, its data row and `name`, and says where the
// first difference is. Never into the working folder: a test may run in the source tree.
inline bool samePicture(const QImage &actual, const QImage &expected, const QString &name)
{
    const QImage a = actual.convertToFormat(QImage::Format_RGB32);
    const QImage e = expected.convertToFormat(QImage::Format_RGB32);
    if (a == e)
        return true;
    QStringList parts {QTest::currentTestFunction(), QTest::currentDataTag(), name};
    parts.removeAll(QString());
    QDir().mkpath(QStringLiteral(ZUVORAK_TEST_PICTURES));
    const QString file = QStringLiteral(ZUVORAK_TEST_PICTURES "/")
                         + parts.join('-').replace(QRegularExpression(QStringLiteral("[^\\w.-]+")), "_");
    a.save(file + QStringLiteral("-actual.png"));
    e.save(file + QStringLiteral("-expected.png"));
    for (int at = 0; a.size() == e.size(); ++at)
        if (const int x = at % a.width(), y = at / a.width(); a.pixel(x, y) != e.pixel(x, y))
            return qWarning("%s: first difference at (%d, %d)", qPrintable(file), x, y), false;
    return qWarning("%s: sizes differ", qPrintable(file)), false;
}
