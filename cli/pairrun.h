#pragma once

#include "cli/options.h"
#include "output/changereport.h"
#include "run/diffscenario.h"

#include <memory>

// One pair to compare the way the desktop program's "Diff" does.
struct Pairjob {
    QString file1;
    QString file2;
    // Empty: the derived name when writeresultfile is on; "-": standard output.
    QString resultPath;
    // False: no result file at all.
    bool writeResult = true;
    bool report = false;
    // The configuration and the log are set up by the caller (runs side by side).
    bool sharedSetup = false;
    // Settings applied before the command line's --set values.
    QVector<QPair<QString, QString>> defaults;
};

struct Pairoutcome {
    // Equal, Different or Failure.
    int status = Failure;
    // The run step's code of a failure (0 when writing the result failed).
    int code = 0;
    // The failure with its code, for standard error.
    QString error;
    // Where the result went, for the summary.
    QString where;
    QVector<int> counts;
    int shifted = 0;
    // Filled when the job asked for a report.
    Changereport report;
    // The run with its trees; the caller decides when (or whether) to free them.
    std::unique_ptr<Diffscenario> scenario;
};

// Runs one pair: configuration (unless shared), parse, compare, result, report. Never throws;
// a failure is the outcome's status and error.
Pairoutcome runPair(const Pairjob& job, const Options& options);
// The non-zero counts of the changes ("label: n", complete matches left out) and, when there
// are position changes, how many moved and how many shifted.
QStringList countParts(const QVector<int>& counts, int shifted);
