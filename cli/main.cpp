// zov-cli: one comparison from the shell, run the way the desktop program runs it.

#include "config/cfgstore.h"
#include "model/zovtree.h"
#include "output/markcount.h"
#include "run/diffscenario.h"
#include "run/logger.h"
#include "run/writethread.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

namespace {

enum Exitcode { Equal = 0, Different = 1, Failure = 2 };

const char* const usage = "Usage: zov-cli [-cfg CONFIG] [-o RESULT] [-q] FILE1 FILE2\n"
                          "Compares the XML document FILE1 (old) with FILE2 (new) and writes the "
                          "merged result.\n\n"
                          "  -cfg CONFIG  configuration file (default: zov_cfg.xml in the working\n"
                          "               directory, else the built-in settings)\n"
                          "  -o RESULT    write the result to RESULT instead of the derived name;\n"
                          "               \"-\" writes it to standard output\n"
                          "  -q           print nothing on success\n"
                          "  --help       show this text\n"
                          "  --version    show the version\n\n"
                          "Exit status: 0 equal, 1 different, 2 failure.\n";

struct Options {
    QString file1;
    QString file2;
    QString config;
    bool hasConfig = false;
    QString output;
    bool quiet = false;
};

QTextStream& err()
{
    static QTextStream stream(stderr);
    return stream;
}

// Fills options from the arguments; returns -1 to go on, else the exit code.
int parseArguments(const QStringList& arguments, Options& options)
{
    QStringList files;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            QTextStream(stdout) << usage;
            return Equal;
        }
        if (arg == QLatin1String("--version")) {
            QTextStream(stdout) << "zov-cli " << ZOV_VERSION << '\n';
            return Equal;
        }
        if (arg == QLatin1String("-cfg") || arg == QLatin1String("-o")) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).isEmpty()) {
                err() << "zov-cli: " << arg << " needs a value\n" << usage;
                return Failure;
            }
            if (arg == QLatin1String("-o")) {
                options.output = arguments.at(++i);
            } else {
                options.config = arguments.at(++i);
                options.hasConfig = true;
            }
        } else if (arg == QLatin1String("-q")) {
            options.quiet = true;
        } else if (arg == QLatin1String("--")) {
            files += arguments.mid(i + 1);
            break;
        } else if (arg.startsWith(QLatin1Char('-')) && arg.size() > 1) {
            err() << "zov-cli: unknown option " << arg << '\n' << usage;
            return Failure;
        } else {
            files.append(arg);
        }
    }
    if (files.size() != 2) {
        err() << "zov-cli: expected two XML files, got " << files.size() << '\n' << usage;
        return Failure;
    }
    options.file1 = files.at(0);
    options.file2 = files.at(1);
    return -1;
}

int fail(const Diffscenario& run, int code)
{
    err() << run.lastError() << " (" << code << ")\n";
    err().flush();
    return Failure;
}

void printSummary(QTextStream& out, const QString& where, const Diffscenario& run, bool equal)
{
    out << where << '\n';
    const Markclassifier classifier;
    const QVector<int> counts = countMarks(run.resultTree() ? run.resultTree()->root() : nullptr);
    for (int kind = 1; kind < counts.size(); ++kind) {
        if (counts.at(kind) > 0)
            out << classifier.text(kind) << ": " << counts.at(kind) << '\n';
    }
    if (counts.at(0) > 0)
        out << "unrecognised marks: " << counts.at(0) << '\n';
    out << (equal ? "The documents are equal." : "The documents differ.") << '\n';
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    Options options;
    const int parsed = parseArguments(QCoreApplication::arguments(), options);
    if (parsed >= 0)
        return parsed;

    QStringList arguments { QCoreApplication::arguments().constFirst(), options.file1,
        options.file2 };
    if (options.hasConfig)
        arguments << QStringLiteral("-cfg") << options.config;
    const bool builtins = !options.hasConfig && !QFile::exists(Cfgstore::defaultPath());
    if (builtins && !options.quiet)
        err() << "zov-cli: no zov_cfg.xml in the working directory, using the built-in settings\n";
    err().flush();

    Diffscenario run(arguments, false);
    run.setBuiltinFallback(builtins);
    int code = run.init();
    if (code != 0)
        return fail(run, code);
    code = run.parseFiles();
    if (code != 0)
        return fail(run, code);
    run.compare();
    Logger& log = Logger::instance();
    log.write(QStringLiteral("Comparison finished."), Logger::Info, Logger::FileAndWindow);

    const bool toStdout = options.output == QLatin1String("-");
    QString where;
    QString error;
    if (toStdout) {
        QFile out;
        out.open(stdout, QIODevice::WriteOnly);
        error = run.writeResult(&out);
        out.flush();
        where = QStringLiteral("Result written to standard output");
    } else {
        run.setResultPath(options.output);
        const bool writes = !options.output.isEmpty()
            || Cfgstore::instance().getBool(QStringLiteral("writeresultfile"));
        Writethread writer(&run);
        writer.start(QThread::InheritPriority);
        log.write(
            QStringLiteral("Starting to write result file"), Logger::Info, Logger::WindowOnly);
        writer.wait();
        error = writer.result();
        where = writes ? QStringLiteral("Result file: ") + run.resultPath()
                       : QStringLiteral("No result file written (writeresultfile is off)");
    }
    log.flush();
    if (!error.isEmpty()) {
        err() << "zov-cli: " << error << '\n';
        return Failure;
    }

    const bool equal = documentsEqual(run.tree1() ? run.tree1()->root() : nullptr,
        run.resultTree() ? run.resultTree()->root() : nullptr);
    if (!options.quiet) {
        QTextStream out(toStdout ? stderr : stdout);
        printSummary(out, where, run, equal);
    }
    return equal ? Equal : Different;
}
