#pragma once

#include "readers.h"

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// What one run of the real program gave.
struct Run {
    int status = -1;
    QString out, err;
};

// Runs the built program with no display at all (a window would make it fail), with
// `arguments`, or through /bin/sh as `script` with the program as $0.
inline Run zuvorak(const QStringList &arguments, const QString &folder = {},
                   const QString &script = {})
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"})
        environment.remove(QString(name));
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(script.isEmpty() ? ZUVORAK_PROGRAM : "/bin/sh",
                  script.isEmpty() ? arguments : QStringList {"-c", script, ZUVORAK_PROGRAM});
    if (!process.waitForFinished(-1))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// A drawing in four colours, light grey and white, with features in every
// quarter so that turns and mirrors show.
inline QImage drawing(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if ((x / 7 + y / 5) % 3 == 0 && x < width * 2 / 3)
                picture.setPixel(x, y, qRgb(200, 20, 20));
            else if ((x - width / 2) * (x - width / 2) + (y - 20) * (y - 20) < 200)
                picture.setPixel(x, y, qRgb(10, 30, 160));
            else if (y == height - 10 || x == width - 12)
                picture.setPixel(x, y, qRgb(0, 0, 0));
            else if (x % 11 == 0)
                picture.setPixel(x, y, qRgb(192, 192, 192)); // light grey: background
    return picture;
}
