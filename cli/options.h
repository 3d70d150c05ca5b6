#pragma once

#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdio>

enum Exitcode { Equal = 0, Different = 1, Failure = 2 };

enum class Reportformat { None, Text, Json };
enum class Colourmode { Auto, Always, Never };

// What the command line asked for.
struct Options {
    QString config;
    bool hasConfig = false;
    // -o: a result file, "-" for standard output, or a folder in folder mode; empty: derived.
    QString output;
    bool quiet = false;
    // --set KEY=VALUE in the order given, each checked against the key table.
    QVector<QPair<QString, QString>> settings;
    Reportformat report = Reportformat::None;
    bool all = false;
    bool git = false;
    // File name patterns of folder mode beyond *.xml.
    QStringList includes;
    // Pairs compared at once in folder mode; 0 means one per processor.
    int jobs = 0;
    Colourmode colour = Colourmode::Auto;
    QStringList positional;
};

// Fills options from the arguments (program name first). Returns -1 to go on, else the exit
// code, after printing the help, the version or the error (with a hint) itself.
int parseOptions(const QStringList& arguments, Options* options);
// Whether the report gets terminal colours: always, never, or (auto) when standard output is a
// terminal or git's pager, and NO_COLOR is not set.
bool useColour(const Options& options);
// Writes UTF-8 text to a standard stream and flushes it.
void print(FILE* stream, const QString& text);
// Tells on standard error that the built-in settings apply (no -cfg, no zov_cfg.xml in the
// working directory), unless quiet or run by git.
void noteBuiltins(const Options& options);
