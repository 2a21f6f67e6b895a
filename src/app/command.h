#pragma once

#include "command_line.h"
#include "model_file_io.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <span>
#include <stdexcept>

class Document;
class QByteArray;
class QCommandLineParser;

namespace CommandLine {

// Wrong usage, found before any input is read or any output touched.
class UsageError : public std::runtime_error {
public:
    explicit UsageError(const QString &reason)
        : std::runtime_error(reason.toStdString())
    {
    }
};

// One input and where its result goes (nothing for info).
struct Job {
    QString input;
    QString output;
};

struct Outcome {
    Status status = Written;
    QStringList messages; // lines for standard error: the failure, or warnings
    QString printed; // for standard output

    static Outcome failed(Status status, const QString &file, const QString &reason);
};

// One subcommand: its options, the kinds of file it writes and the work on one input.
class Command {
public:
    virtual ~Command() = default;

    virtual QString name() const = 0;
    // The inputs and output as the usage line shows them.
    virtual QString synopsis() const = 0;
    virtual QString description() const = 0;
    // File extensions it writes, without the dot; none for a command that only prints.
    virtual QStringList kinds() const { return {}; }
    // The kind written into a folder without --format.
    virtual QString folderKind() const { return {}; }
    // The kind whose result is a folder rather than a file, if any.
    virtual QString folderResultKind() const { return {}; }

    virtual void addOptions(QCommandLineParser &parser) const = 0;
    // Takes the options for results of this kind; throws UsageError.
    virtual void readOptions(const QCommandLineParser &parser, const QString &kind) = 0;
    // Called for several inputs at once, from several threads.
    virtual Outcome run(const Job &job) const = 0;
};

// A finite number, as C writes it ("1.5", "-2", "1e3"); throws UsageError naming the option.
double numberOption(const QCommandLineParser &parser, const QString &option, double low,
                    double high);
int integerOption(const QCommandLineParser &parser, const QString &option, int low, int high);
// "A,B,C,D" with exactly `count` finite numbers within +-limit.
QList<double> numberList(const QString &option, const QString &text, int count, double limit);

// Why a model file was refused, in English.
QString modelFailureReason(const ModelFile::FileResult &result);
// Opens a model file into the document; a refusal names the file and the reason.
bool openModel(Document &document, const QString &path, Outcome &outcome);
// Writes a result; a failure names the file and the reason.
Outcome writeResult(const QString &path, std::span<const std::uint8_t> bytes);
Outcome writeResult(const QString &path, const QByteArray &bytes);

} // namespace CommandLine
