// zov-cli: comparisons from the shell, run the way the desktop program runs them: one pair, two
// folders, or one file of a git diff.

#include "cli/folderrun.h"
#include "cli/options.h"
#include "cli/pairrun.h"
#include "config/cfgstore.h"
#include "output/reportformat.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>

namespace {

QString summaryText(const Pairoutcome& outcome)
{
    QString text = outcome.where.isEmpty() ? QString() : outcome.where + QLatin1Char('\n');
    for (const QString& part : countParts(outcome.counts, outcome.shifted))
        text += part + QLatin1Char('\n');
    return text
        + (outcome.status == Equal ? QStringLiteral("The documents are equal.\n")
                                   : QStringLiteral("The documents differ.\n"));
}

void printFailure(const Pairoutcome& outcome, const Options& options, const QString& where)
{
    // The configuration error itself was printed when it happened; name the file as well.
    if (outcome.code == -1095)
        print(stderr,
            QStringLiteral("zov-cli: the configuration file %1 could not be read (-1095)\n")
                .arg(options.hasConfig ? options.config : Cfgstore::defaultPath()));
    else
        print(stderr, QStringLiteral("zov-cli: ") + where + outcome.error + QLatin1Char('\n'));
}

int runSingle(const Options& options)
{
    noteBuiltins(options);
    Pairjob job;
    job.file1 = options.positional.at(0);
    job.file2 = options.positional.at(1);
    job.resultPath = options.output;
    job.report = options.report != Reportformat::None;
    Pairoutcome outcome = runPair(job, options);
    if (outcome.status == Failure) {
        printFailure(outcome, options, QString());
        std::_Exit(Failure);
    }
    if (options.report == Reportformat::Json)
        print(stdout,
            QString::fromUtf8(
                QJsonDocument(reportJson(outcome.report, job.file1, job.file2)).toJson()));
    else if (options.report == Reportformat::Text)
        print(stdout, reportText(outcome.report, useColour(options)));
    const bool stdoutTaken = job.report || options.output == QLatin1String("-");
    if (!options.quiet)
        print(stdoutTaken ? stderr : stdout, summaryText(outcome));
    // Freeing millions of nodes one by one would only delay the exit; the system reclaims the
    // memory at once. The log is closed and every stream flushed first.
    outcome.scenario->closeLog();
    std::fflush(nullptr);
    std::_Exit(outcome.status);
}

// git's external diff driver: PATH OLD-FILE OLD-HEX OLD-MODE NEW-FILE NEW-HEX NEW-MODE. Any
// status but 0 makes git stop, so equal and different both end with 0.
int runGit(const Options& options)
{
    const QStringList& arguments = options.positional;
    const QString& path = arguments.at(0);
    QString header = QStringLiteral("=== ") + path;
    if (arguments.size() == 9)
        header += QStringLiteral(" \u2192 ") + arguments.at(7);
    if (arguments.at(1) == QLatin1String("/dev/null")) {
        print(stdout, header + QStringLiteral(" (new file)\n"));
        return Equal;
    }
    if (arguments.at(4) == QLatin1String("/dev/null")) {
        print(stdout, header + QStringLiteral(" (deleted file)\n"));
        return Equal;
    }
    Pairjob job;
    job.file1 = arguments.at(1);
    job.file2 = arguments.at(4);
    job.writeResult = false;
    job.report = true;
    // git runs the driver in the work tree: no log file there unless asked for.
    job.defaults = { qMakePair(QStringLiteral("write_log"), QStringLiteral("false")) };
    Pairoutcome outcome = runPair(job, options);
    if (outcome.status == Failure) {
        printFailure(outcome, options, path + QStringLiteral(": "));
        std::_Exit(Failure);
    }
    if (options.report == Reportformat::Json) {
        print(stdout,
            QString::fromUtf8(QJsonDocument(reportJson(outcome.report, path, path)).toJson()));
    } else {
        if (arguments.at(3) != arguments.at(6))
            header += QStringLiteral(" (mode %1 \u2192 %2)").arg(arguments.at(3), arguments.at(6));
        if (outcome.status == Equal)
            header += QStringLiteral(": equal under the current settings");
        print(stdout, header + QLatin1Char('\n') + reportText(outcome.report, useColour(options)));
    }
    std::fflush(nullptr);
    std::_Exit(Equal);
}

} // namespace

// Nothing can be trusted to allocate any more: say so and leave with the failure status. A result
// is only ever written through a temporary file, so no partial one is left behind.
[[noreturn]] static void outOfMemory()
{
    static const char message[] = "zov-cli: out of memory, nothing was written\n";
    std::fputs(message, stderr);
    std::fflush(stderr);
    std::_Exit(Failure);
}

// The toolkit's containers report a failed allocation by throwing, which ends in terminate.
[[noreturn]] static void terminated()
{
    if (const std::exception_ptr failure = std::current_exception()) {
        try {
            std::rethrow_exception(failure);
        } catch (const std::bad_alloc&) {
            outOfMemory();
        } catch (...) {
        }
    }
    std::abort();
}

int main(int argc, char* argv[])
{
    std::set_new_handler(outOfMemory);
    std::set_terminate(terminated);
    // GLib's event loop recurses until the stack overflows when an allocation fails; the
    // toolkit's own loop serves a command line as well.
    qputenv("QT_NO_GLIB", "1");
    QCoreApplication app(argc, argv);
    // The loader's debug lines (one per end tag with the parse log on) are for developers, not
    // for a shell's standard error; QT_LOGGING_RULES still brings them back.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
    Options options;
    const int parsed = parseOptions(QCoreApplication::arguments(), &options);
    if (parsed >= 0)
        return parsed;
    if (options.git)
        return runGit(options);
    const bool dir1 = QFileInfo(options.positional.at(0)).isDir();
    const bool dir2 = QFileInfo(options.positional.at(1)).isDir();
    if (dir1 && dir2)
        return runFolders(options);
    return runSingle(options);
}
