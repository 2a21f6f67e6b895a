#pragma once

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdint>
#include <vector>

// An exported file written to a temporary folder, for the readers to open.
struct ExportedFile {
    QTemporaryDir dir;
    QString path;

    ExportedFile(const std::vector<std::uint8_t> &bytes, const QString &name)
        : path(dir.filePath(name))
    {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(reinterpret_cast<const char *>(bytes.data()), qint64(bytes.size()));
    }
};

// What tests/export/read_back.py sees in a file through meshio, numpy or json and struct.
struct ReadBack {
    QJsonObject seen;
    QString missing; // the Python module that is not installed, if any
    QByteArray errors;
};

inline ReadBack readExported(const QString &kind, const std::vector<std::uint8_t> &bytes)
{
    const ExportedFile file(bytes, "export." + kind);
    QProcess reader;
    reader.start("/usr/bin/python3",
                 {ZUVORAK_SOURCE_DIR "/tests/export/read_back.py", kind, file.path});
    reader.waitForFinished(120000);
    ReadBack result {QJsonDocument::fromJson(reader.readAllStandardOutput()).object(),
                     {},
                     reader.readAllStandardError()};
    if (reader.error() == QProcess::FailedToStart)
        result.missing = "/usr/bin/python3";
    else if (const int at = result.errors.indexOf("No module named"); at >= 0)
        result.missing = result.errors.mid(at);
    return result;
}

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
