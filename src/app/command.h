#pragma once

#include "command_line.h"
#include "model_file_io.h"
#include "renderer.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <span>
#include <stdexcept>
#include <utility>

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

// What the usage and the planning of the jobs know of a subcommand.
struct CommandInfo {
    QString name;
    QString synopsis; // the inputs and output as the usage line shows them
    QString description;
    QStringList kinds = {}; // file extensions it writes, without the dot; none: it only prints
    QString folderKind = {}; // the kind written into a folder without --format
    QString folderResultKind = {}; // the kind whose result is a folder rather than a file
};

// One subcommand: its options, the kinds of file it writes and the work on one input.
class Command {
public:
    explicit Command(CommandInfo info)
        : info_(std::move(info))
    {
    }
    virtual ~Command() = default;

    QString name() const { return info_.name; }
    QString synopsis() const { return info_.synopsis; }
    QString description() const { return info_.description; }
    QStringList kinds() const { return info_.kinds; }
    QString folderKind() const { return info_.folderKind; }
    QString folderResultKind() const { return info_.folderResultKind; }

    virtual void addOptions(QCommandLineParser &parser) const = 0;
    // Takes the options for results of this kind; throws UsageError.
    virtual void readOptions(const QCommandLineParser &parser, const QString &kind) = 0;
    // Called for several inputs at once, from several threads.
    virtual Outcome run(const Job &job) const = 0;

private:
    CommandInfo info_;
};

// --point-size and --shading, as the large view draws.
void addPointStyleOptions(QCommandLineParser &parser);
void readPointStyle(const QCommandLineParser &parser, PointStyle &style);
// --turn and --tilt, in degrees, where given: finite and within +-1e6, so that turning stays exact.
void readAngles(const QCommandLineParser &parser, double &turn, double &tilt);

// A finite number, as C writes it ("1.5", "-2", "1e3"); throws UsageError naming the option.
double numberOption(const QCommandLineParser &parser, const QString &option, double low,
                    double high);
int integerOption(const QCommandLineParser &parser, const QString &option, int low, int high);
// "A,B,C,D" with exactly `count` finite numbers within +-limit.
QList<double> numberList(const QString &option, const QString &text, int count, double limit);

// Reads a model file; a refusal names the file and the reason.
bool openModel(const QString &path, Model &model, Outcome &outcome);
// Writes a result; a failure names the file and the reason.
Outcome writeResult(const QString &path, std::span<const std::uint8_t> bytes);
Outcome writeResult(const QString &path, const QByteArray &bytes);

} // namespace CommandLine
