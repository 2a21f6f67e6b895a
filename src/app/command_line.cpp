#include "command_line.h"

#include "commands.h"
#include "jobs.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QThread>

#include <cstdio>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace CommandLine {

namespace {

constexpr int kMaxJobs = 256;

const QStringList kTopOptions
    = {QStringLiteral("-h"), QStringLiteral("--help"), QStringLiteral("--help-all"),
       QStringLiteral("-v"), QStringLiteral("--version")};

std::vector<std::unique_ptr<Command>> allCommands()
{
    std::vector<std::unique_ptr<Command>> commands;
    commands.push_back(importCommand());
    commands.push_back(renderCommand());
    commands.push_back(exportCommand());
    commands.push_back(turntableCommand());
    commands.push_back(infoCommand());
    return commands;
}

void print(FILE *stream, const QString &text)
{
    std::fputs(text.toUtf8().constData(), stream);
}

QString overview()
{
    QString text = QStringLiteral(
        "Usage: zuvorak [MODEL.chs | PICTURE]\n"
        "       zuvorak COMMAND INPUT... [options]\n"
        "\n"
        "Without a command zuvorak starts its windows, opening the model file or showing the\n"
        "picture in the capture window when one is given. A command needs no display.\n"
        "\n"
        "Commands:\n");
    for (const auto &command : allCommands())
        text += QStringLiteral("  %1 %2\n").arg(command->name(), -10).arg(command->synopsis());
    text += QStringLiteral("\n"
                           "zuvorak COMMAND --help describes a command and its options.\n"
                           "Exit status: 0 everything written, 1 wrong usage, 2 an input refused,\n"
                           "3 an output not written.\n"
                           "\n"
                           "Options:\n"
                           "  -h, --help     Shows this help.\n"
                           "  -v, --version  Shows the version.\n");
    return text;
}

QString commandHelp(const Command &command, const QCommandLineParser &parser)
{
    // Qt's usage line names the program's path; ours names the command.
    QString options = parser.helpText();
    options = options.mid(options.indexOf(QLatin1String("\nOptions:")) + 1);
    QString text = QStringLiteral("Usage: zuvorak %1 %2 [options]\n\n%3\n")
                       .arg(command.name(), command.synopsis(), command.description());
    if (!command.kinds().isEmpty())
        text += QStringLiteral(
            "\nWith several inputs, or when OUT ends in / or is a folder, OUT is a folder that\n"
            "exists and each result is written there as NAME.KIND, NAME being the input's name\n"
            "without its extension. The inputs are processed in parallel (--jobs); one that\n"
            "fails is reported and the others are still done.\n");
    return text + QLatin1Char('\n') + options;
}

void addCommonOptions(QCommandLineParser &parser, const Command &command)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Shows this help.")});
    if (!command.kinds().isEmpty()) {
        parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                          QStringLiteral("Where the result goes: a file, or a folder (see above)."),
                          QStringLiteral("OUT")});
        parser.addOption(
            {QStringLiteral("format"),
             QStringLiteral("The kind of file written into a folder: %1 (%2).")
                 .arg(command.kinds().join(QStringLiteral(", ")), command.folderKind()),
             QStringLiteral("KIND")});
    }
    parser.addOption(
        {QStringLiteral("jobs"),
         QStringLiteral("How many inputs are processed at once (the number of cores, fewer "
                        "where the memory would not hold them)."),
         QStringLiteral("N")});
    parser.addPositionalArgument(QStringLiteral("inputs"), QStringLiteral("The input files."),
                                 command.synopsis());
    command.addOptions(parser);
}

QString kindList(const Command &command)
{
    return QStringLiteral(".") + command.kinds().join(QStringLiteral(", ."));
}

void checkFolderOf(const QString &path)
{
    const QFileInfo target(path);
    if (!QFileInfo(target.absolutePath()).isDir())
        throw UsageError(QStringLiteral("%1: no such folder").arg(target.path()));
}

// Each input's result in the folder, named after the input.
QList<Job> jobsIntoFolder(const Command &command, const QStringList &inputs, const QString &folder,
                          const QString &format, QString &kind)
{
    if (!QFileInfo(folder).isDir())
        throw UsageError(QStringLiteral("%1: no such folder").arg(folder));
    kind = format.isEmpty() ? command.folderKind() : format;
    if (!command.kinds().contains(kind))
        throw UsageError(QStringLiteral("--format: '%1' is no kind that %2 writes (%3)")
                             .arg(format, command.name(), kindList(command)));
    const QString suffix = kind == command.folderResultKind() ? QString() : QLatin1Char('.') + kind;
    QList<Job> jobs;
    QSet<QString> targets;
    for (const QString &input : inputs) {
        const QString target = QDir(folder).filePath(QFileInfo(input).completeBaseName() + suffix);
        if (targets.contains(target))
            throw UsageError(QStringLiteral("two inputs would both be written to %1").arg(target));
        targets.insert(target);
        jobs << Job {input, target};
    }
    return jobs;
}

// Which jobs the inputs make and the kind of file they write; nothing is touched.
QList<Job> planJobs(const Command &command, const QStringList &inputs,
                    const QCommandLineParser &parser, QString &kind)
{
    QList<Job> jobs;
    if (command.kinds().isEmpty()) {
        for (const QString &input : inputs)
            jobs << Job {input, {}};
        return jobs;
    }
    const QString output = parser.value(QStringLiteral("output"));
    if (output.isEmpty())
        throw UsageError(QStringLiteral("-o OUT is missing"));
    const QString format = parser.value(QStringLiteral("format")).toLower();
    const QFileInfo out(output);
    const bool slash = output.endsWith(QLatin1Char('/'));

    // One result that is itself a new folder, such as a turntable's frames.
    if (inputs.size() == 1 && slash && !out.exists() && !command.folderResultKind().isEmpty()) {
        kind = command.folderResultKind();
        if (!format.isEmpty() && format != kind)
            throw UsageError(QStringLiteral("--format %1 does not match %2").arg(format, output));
        const QString folder = output.chopped(1);
        checkFolderOf(folder);
        return {Job {inputs.first(), folder}};
    }
    if (inputs.size() > 1 || slash || out.isDir())
        return jobsIntoFolder(command, inputs, output, format, kind);

    kind = out.suffix().toLower();
    if (kind.isEmpty())
        throw UsageError(QStringLiteral("%1: the name gives no kind; %2 writes %3")
                             .arg(output, command.name(), kindList(command)));
    if (kind == command.folderResultKind())
        throw UsageError(
            QStringLiteral("%1: .%2 files go into a new folder: give FOLDER/").arg(output, kind));
    if (!command.kinds().contains(kind))
        throw UsageError(QStringLiteral("%1: '.%2' is no kind that %3 writes (%4)")
                             .arg(output, kind, command.name(), kindList(command)));
    if (!format.isEmpty() && format != kind)
        throw UsageError(QStringLiteral("--format %1 does not match %2").arg(format, output));
    checkFolderOf(output);
    return {Job {inputs.first(), output}};
}

// A result written over an input would destroy what the user gave: refused before any work.
void refuseWritingOverInputs(const QStringList &inputs, const QList<Job> &jobs)
{
    QSet<QString> given;
    for (const QString &input : inputs)
        if (const QString path = QFileInfo(input).canonicalFilePath(); !path.isEmpty())
            given.insert(path);
    for (const Job &job : jobs)
        if (given.contains(QFileInfo(job.output).canonicalFilePath()))
            throw UsageError(QStringLiteral("%1 would be written over an input").arg(job.output));
}

// Every input allocates and frees buffers of megabytes. Kept in the heap they
// are reused; mapped afresh each time, their page faults cost a third of the time.
void keepLargeBuffers()
{
#if defined(__GLIBC__)
    constexpr int kLarge = 64 << 20;
    mallopt(M_MMAP_THRESHOLD, kLarge);
    mallopt(M_TRIM_THRESHOLD, 4 * kLarge);
#endif
}

// Qt's image readers pass on the decoding libraries' own lines ("libpng error: ...", libtiff's
// about a file it calls "foo"), which name no input: each failure is told once, by its job.
QtMessageHandler qtOwnHandler = nullptr;

void keepLibraryChatterOff(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if ((type == QtCriticalMsg || type == QtFatalMsg) && qtOwnHandler)
        qtOwnHandler(type, context, text);
}

int runCommand(Command &command, const QStringList &arguments)
{
    QCommandLineParser parser;
    addCommonOptions(parser, command);
    QStringList toParse = arguments;
    toParse.removeAt(1);
    if (!parser.parse(toParse))
        throw UsageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        print(stdout, commandHelp(command, parser));
        return Written;
    }
    const QStringList inputs = parser.positionalArguments();
    if (inputs.isEmpty())
        throw UsageError(QStringLiteral("no input given"));
    const int threads = parser.isSet(QStringLiteral("jobs"))
                            ? integerOption(parser, QStringLiteral("jobs"), 1, kMaxJobs)
                            : defaultJobCount(QThread::idealThreadCount(), availableMemory());
    QString kind;
    const QList<Job> jobs = planJobs(command, inputs, parser, kind);
    refuseWritingOverInputs(inputs, jobs);
    command.readOptions(parser, kind);
    keepLargeBuffers();
    return runJobs(command, jobs, threads);
}

} // namespace

bool wantsCommand(const QStringList &arguments)
{
    if (arguments.size() < 2)
        return false;
    const QString &first = arguments[1];
    if (kTopOptions.contains(first))
        return true;
    for (const auto &command : allCommands())
        if (command->name() == first)
            return true;
    // Several files are no way to start the windows: most likely a misspelt command.
    return arguments.size() > 2 && !first.startsWith(QLatin1Char('-'));
}

int run(const QStringList &arguments)
{
    qtOwnHandler = qInstallMessageHandler(keepLibraryChatterOff);
    QCoreApplication::setApplicationName(QStringLiteral("zuvorak"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZUVORAK_VERSION));
    const QString first = arguments.value(1);
    if (first == QLatin1String("-v") || first == QLatin1String("--version")) {
        print(stdout, QStringLiteral("zuvorak " ZUVORAK_VERSION "\n"));
        return Written;
    }
    if (kTopOptions.contains(first)) {
        print(stdout, overview());
        return Written;
    }
    for (const auto &command : allCommands()) {
        if (command->name() != first)
            continue;
        try {
            return runCommand(*command, arguments);
        } catch (const UsageError &error) {
            print(stderr, QStringLiteral("zuvorak %1: %2\n")
                              .arg(first, QString::fromStdString(error.what())));
            return WrongUsage;
        }
    }
    print(stderr,
          QStringLiteral("zuvorak: '%1' is no command; zuvorak --help lists them\n").arg(first));
    return WrongUsage;
}

} // namespace CommandLine
