#pragma once

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdint>
#include <vector>

inline QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

inline bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

inline QByteArray asBytes(const std::vector<std::uint8_t> &bytes)
{
    return {reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())};
}

// A table whose rows are structs, each named by its member `name`: one column, "row".
template<typename Row> void addRows(const std::vector<Row> &rows)
{
    QTest::addColumn<Row>("row");
    for (const Row &row : rows)
        QTest::newRow(qPrintable(QString(row.name))) << row;
}

// Everything in a folder, hidden entries included.
inline QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                  | QDir::NoDotAndDotDot);
}

// What tests/support/read_back.py sees in a file; for "frames" the RGBA pixels of every frame.
struct ReadBack {
    QJsonObject seen;
    QByteArray pixels, errors;
    QString missing = {}; // the program or Python module that is not installed, if any

    QImage frame(int index, int width, int height) const
    {
        const qsizetype bytes = qsizetype(width) * height * 4;
        return QImage(reinterpret_cast<const uchar *>(pixels.constData()) + index * bytes, width,
                      height, QImage::Format_RGBA8888)
            .copy();
    }
};

inline ReadBack readBack(const QString &kind, const QString &path)
{
    const QTemporaryDir dir;
    QProcess reader;
    reader.start("/usr/bin/python3", {ZUVORAK_SOURCE_DIR "/tests/support/read_back.py", kind, path,
                                      dir.filePath("pixels")});
    reader.waitForFinished(-1);
    ReadBack read {QJsonDocument::fromJson(reader.readAllStandardOutput()).object(),
                   contents(dir.filePath("pixels")), reader.readAllStandardError()};
    if (reader.error() == QProcess::FailedToStart)
        read.missing = "/usr/bin/python3";
    else if (const int at = read.errors.indexOf("No module named"); at >= 0)
        read.missing = read.errors.mid(at);
    return read;
}

// The bytes of an export in a file of that kind, read back; "frames.gif" reads a GIF's frames.
inline ReadBack readBack(const QString &kind, const std::vector<std::uint8_t> &bytes)
{
    const QTemporaryDir dir;
    const QString path = dir.filePath("export." + kind.section('.', -1));
    write(path, asBytes(bytes));
    return readBack(kind.section('.', 0, 0), path);
}

// A reader that is not installed (or root, where a test needs it) skips the test on a developer's
// machine; under CI (CI=true, as .ci/run sets it) it fails, naming what to install.
#define REQUIRE_READER(present, name)                                                              \
    do {                                                                                           \
        if (!(present)) {                                                                          \
            if (qEnvironmentVariable("CI") == QLatin1String("true"))                               \
                QFAIL(qPrintable(QStringLiteral("missing under CI: ") + (name)));                  \
            QSKIP(qPrintable(QStringLiteral("missing: ") + (name)));                               \
        }                                                                                          \
    } while (false)

// Skips or fails as above where the reader is missing; fails where it could not read the file.
#define REQUIRE_READ(read)                                                                         \
    do {                                                                                           \
        REQUIRE_READER((read).missing.isEmpty(), (read).missing);                                  \
        QVERIFY2(!(read).seen.isEmpty(), (read).errors.constData());                               \
    } while (false)

// A value as a file that stores floats gives it back. The volatile keeps GCC 12.2 at -O2 from
// vectorizing the round trip through float away.
inline double storedAsFloat(double value)
{
    volatile float stored = float(value);
    return stored;
}

inline std::vector<std::vector<double>> rows(const QJsonValue &array)
{
    std::vector<std::vector<double>> result;
    for (const QJsonValue &row : array.toArray()) {
        std::vector<double> &values = result.emplace_back();
        for (const QJsonValue &value : row.toArray())
            values.push_back(value.toDouble());
    }
    return result;
}
