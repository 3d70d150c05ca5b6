#include "cli/options.h"

#include "config/cfgkeys.h"
#include "config/cfgstore.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <cstdio>
#include <unistd.h>

namespace {

const char* const summary = "Compares the XML document OLD with NEW as trees and writes the merged "
                            "result, a change report, or both.";

const char* const details
    = "\nModes:\n"
      "  zov-cli [options] OLD NEW        one pair; the result file goes next to NEW\n"
      "  zov-cli [options] DIR1 DIR2      every pair of *.xml files with the same relative\n"
      "                                   path; result files only with -o DIR\n"
      "  zov-cli [options] --git PATH OLD-FILE OLD-HEX OLD-MODE NEW-FILE NEW-HEX\n"
      "          NEW-MODE                 git's external diff driver: a header and the text\n"
      "                                   report, no result file, no log file\n"
      "\nReports (standard output; the summary then goes to standard error):\n"
      "  text   one line per change: kind, path in NEW, \"(was path in OLD)\" where it\n"
      "         differs, attribute or text details\n"
      "  json   one JSON document: file_old, file_new, settings, equal, counts, changes\n"
      "\nExit status: 0 equal, 1 different (or a file on one side only), 2 failure;\n"
      "with --git 0 for equal and different.\n"
      "\nSee zov-cli(1) for the report fields and the git set-up.\n";

void addOptions(QCommandLineParser& parser)
{
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(QLatin1String(summary));
    parser.addPositionalArgument(QStringLiteral("OLD"), QStringLiteral("old document or folder"));
    parser.addPositionalArgument(QStringLiteral("NEW"), QStringLiteral("new document or folder"));
    parser.addOptions({
        { { QStringLiteral("cfg"), QStringLiteral("config") },
            QStringLiteral("Configuration file (default: zov_cfg.xml in the working directory, "
                           "else the built-in settings)."),
            QStringLiteral("FILE") },
        { QStringLiteral("set"),
            QStringLiteral("Overrides one setting for this run (repeatable); "
                           "nothing is written to the configuration file."),
            QStringLiteral("KEY=VALUE") },
        { { QStringLiteral("o"), QStringLiteral("output") },
            QStringLiteral("Result file instead of the derived name; \"-\" writes it to standard "
                           "output; in folder mode the folder that receives the result files."),
            QStringLiteral("RESULT") },
        { QStringLiteral("report"),
            QStringLiteral("Writes the changes to standard output as text or json."),
            QStringLiteral("FORMAT") },
        { QStringLiteral("all"),
            QStringLiteral("Reports shifted pairs and complete matches too.") },
        { QStringLiteral("color"),
            QStringLiteral("Colours the text report: auto (on a terminal unless NO_COLOR is "
                           "set), always or never."),
            QStringLiteral("WHEN"), QStringLiteral("auto") },
        { QStringLiteral("git"), QStringLiteral("Runs as git's external diff driver.") },
        { QStringLiteral("include"),
            QStringLiteral("Folder mode: also compares files matching GLOB (repeatable)."),
            QStringLiteral("GLOB") },
        { QStringLiteral("jobs"),
            QStringLiteral("Folder mode: pairs compared at once (default: one per processor)."),
            QStringLiteral("N") },
        { { QStringLiteral("q"), QStringLiteral("quiet") },
            QStringLiteral("Prints no summary; errors still go to standard error.") },
    });
    parser.addHelpOption();
    parser.addVersionOption();
}

int usageError(const QString& message)
{
    print(stderr,
        QStringLiteral("zov-cli: ") + message
            + QStringLiteral("\nTry 'zov-cli --help' for more information.\n"));
    return Failure;
}

} // namespace

void print(FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

int parseOptions(const QStringList& arguments, Options* options)
{
    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        // The program's name, not the path it was started by.
        QString help = parser.helpText();
        help.replace(
            0, help.indexOf(QLatin1Char('\n')), QStringLiteral("Usage: zov-cli [options] OLD NEW"));
        print(stdout, help + QLatin1String(details));
        return Equal;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        print(stdout, QStringLiteral("zov-cli %1\n").arg(QStringLiteral(ZOV_VERSION)));
        return Equal;
    }

    options->hasConfig = parser.isSet(QStringLiteral("cfg"));
    options->config = parser.value(QStringLiteral("cfg"));
    options->output = parser.value(QStringLiteral("o"));
    for (const char* name : { "cfg", "o" }) {
        if (parser.isSet(QLatin1String(name)) && parser.value(QLatin1String(name)).isEmpty())
            return usageError(QStringLiteral("-%1 needs a value").arg(QLatin1String(name)));
    }
    options->quiet = parser.isSet(QStringLiteral("q"));
    options->all = parser.isSet(QStringLiteral("all"));
    options->git = parser.isSet(QStringLiteral("git"));
    options->includes = parser.values(QStringLiteral("include"));
    options->positional = parser.positionalArguments();

    // Every setting is checked before any file is read.
    for (const QString& setting : parser.values(QStringLiteral("set"))) {
        const qsizetype eq = setting.indexOf(QLatin1Char('='));
        if (eq <= 0)
            return usageError(QStringLiteral("--set needs KEY=VALUE, not \"%1\"").arg(setting));
        const QString key = setting.left(eq);
        const QString value = setting.mid(eq + 1);
        const QString problem = checkSetting(key, value);
        if (!problem.isEmpty())
            return usageError(QStringLiteral("--set: ") + problem);
        options->settings.append(qMakePair(key, value));
    }

    if (parser.isSet(QStringLiteral("report"))) {
        const QString format = parser.value(QStringLiteral("report"));
        if (format == QLatin1String("text"))
            options->report = Reportformat::Text;
        else if (format == QLatin1String("json"))
            options->report = Reportformat::Json;
        else
            return usageError(
                QStringLiteral("--report takes text or json, not \"%1\"").arg(format));
    }
    const QString colour = parser.value(QStringLiteral("color"));
    if (colour == QLatin1String("always"))
        options->colour = Colourmode::Always;
    else if (colour == QLatin1String("never"))
        options->colour = Colourmode::Never;
    else if (colour != QLatin1String("auto"))
        return usageError(
            QStringLiteral("--color takes auto, always or never, not \"%1\"").arg(colour));
    if (parser.isSet(QStringLiteral("jobs"))) {
        bool ok = false;
        options->jobs = parser.value(QStringLiteral("jobs")).toInt(&ok);
        if (!ok || options->jobs < 1)
            return usageError(QStringLiteral("--jobs takes a number from 1 up, not \"%1\"")
                                  .arg(parser.value(QStringLiteral("jobs"))));
    }

    // git adds the new path and a similarity text for a renamed or copied file.
    const qsizetype count = options->positional.size();
    const bool expected = options->git ? count == 7 || count == 9 : count == 2;
    if (!expected)
        return usageError(options->git
                ? QStringLiteral(
                    "--git expects the seven (or, for a rename, nine) arguments git passes, got %1")
                      .arg(count)
                : QStringLiteral("expected two XML files or two folders, got %1").arg(count));
    if (options->output == QLatin1String("-") && options->report != Reportformat::None)
        return usageError(QStringLiteral("-o - and --report both need standard output"));
    return -1;
}

bool useColour(const Options& options)
{
    if (options.colour != Colourmode::Auto)
        return options.colour == Colourmode::Always;
    if (!qEnvironmentVariableIsEmpty("NO_COLOR"))
        return false;
    // git runs its external diff with standard output on the pager.
    return ::isatty(STDOUT_FILENO)
        || (options.git && qgetenv("GIT_PAGER_IN_USE") == QByteArrayLiteral("true"));
}

void noteBuiltins(const Options& options)
{
    if (!options.quiet && !options.git && !options.hasConfig
        && !QFileInfo::exists(Cfgstore::defaultPath()))
        print(stderr,
            QStringLiteral(
                "zov-cli: no zov_cfg.xml in the working directory, using the built-in settings\n"));
}
