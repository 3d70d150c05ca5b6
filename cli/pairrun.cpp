#include "cli/pairrun.h"

#include "compare/changekind.h"
#include "config/cfgstore.h"
#include "model/zovtree.h"
#include "output/markcount.h"
#include "output/reportformat.h"
#include "run/logger.h"
#include "run/writethread.h"

#include <QElapsedTimer>

namespace {

// With ZOV_TIMING set, prints how long each step took (for benchmarks and profiling).
class Steptimer {
public:
    Steptimer()
        : m_on(qEnvironmentVariableIsSet("ZOV_TIMING"))
    {
        m_timer.start();
    }

    void done(const char* step)
    {
        if (m_on)
            print(stderr,
                QStringLiteral("zov-cli timing: %1 %2 ms\n")
                    .arg(QLatin1String(step))
                    .arg(m_timer.restart()));
    }

private:
    bool m_on;
    QElapsedTimer m_timer;
};

const Zovnode* rootOf(const Zovtree* tree) { return tree ? tree->root() : nullptr; }

} // namespace

QStringList countParts(const QVector<int>& counts, int shifted)
{
    QStringList parts;
    int positions = 0;
    for (int kind = position_change; kind < counts.size(); ++kind) {
        if (counts.at(kind) > 0)
            parts << QStringLiteral("%1: %2").arg(kindLabel(kind)).arg(counts.at(kind));
        positions += isPositionKind(kind) ? counts.at(kind) : 0;
    }
    if (!counts.isEmpty() && counts.at(0) > 0)
        parts << QStringLiteral("unrecognised marks: %1").arg(counts.at(0));
    if (positions > 0)
        parts << QStringLiteral("moved: %1").arg(positions - shifted)
              << QStringLiteral("shifted: %1").arg(shifted);
    return parts;
}

Pairoutcome runPair(const Pairjob& job, const Options& options)
{
    Pairoutcome outcome;
    QStringList arguments { QStringLiteral("zov-cli"), job.file1, job.file2 };
    if (options.hasConfig)
        arguments << QStringLiteral("-cfg") << options.config;
    outcome.scenario = std::make_unique<Diffscenario>(arguments, false);
    Diffscenario& run = *outcome.scenario;
    run.setBuiltinFallback(!options.hasConfig);
    run.setOverrides(job.defaults + options.settings);
    run.setSharedSetup(job.sharedSetup);
    run.setStandardErrorOnly(true);
    run.setKeepOriginals(job.report);
    const auto fail = [&](int code) {
        outcome.code = code;
        outcome.error = QStringLiteral("%1 (%2)").arg(run.lastError()).arg(code);
        return std::move(outcome);
    };

    Steptimer timer;
    int code = run.init();
    if (code != 0)
        return fail(code);
    timer.done("init");
    code = run.parseFiles();
    if (code != 0)
        return fail(code);
    timer.done("parse");
    run.compare();
    timer.done("compare");
    Logger& log = Logger::instance();
    log.write(QStringLiteral("Comparison finished."), Logger::Info, Logger::FileAndWindow);

    const Zovnode* root1 = rootOf(run.tree1());
    const Zovnode* const resultRoot = rootOf(run.resultTree());
    const bool equal = documentsEqual(root1, resultRoot);
    // Without a report nothing reads tree 1 any more. Its nodes are freed one by one, so that
    // happens on this thread while the writer thread writes; the result refers to nothing of it.
    const auto countAndRelease = [&] {
        if (job.report)
            return;
        outcome.counts = countMarks(resultRoot, &outcome.shifted);
        run.releaseFirstTree();
        root1 = nullptr;
    };
    QString error;
    bool reported = false;
    if (job.writeResult && job.resultPath == QLatin1String("-")) {
        countAndRelease();
        QFile out;
        out.open(stdout, QIODevice::WriteOnly);
        error = run.writeResult(&out);
        out.flush();
        outcome.where = QStringLiteral("Result written to standard output");
    } else if (job.writeResult) {
        run.setResultPath(job.resultPath);
        const bool writes = !job.resultPath.isEmpty()
            || Cfgstore::instance().getBool(QStringLiteral("writeresultfile"));
        // The report is built while the result is written; both only read the trees.
        Writethread writer(&run);
        writer.start(QThread::InheritPriority);
        log.write(
            QStringLiteral("Starting to write result file"), Logger::Info, Logger::WindowOnly);
        if (job.report)
            outcome.report = buildChangereport(root1, resultRoot, &run.originals(), options.all);
        reported = job.report;
        countAndRelease();
        writer.wait();
        error = writer.result();
        outcome.where = writes ? QStringLiteral("Result file: ") + run.resultPath()
                               : QStringLiteral("No result file written (writeresultfile is off)");
    }
    if (job.report && !reported)
        outcome.report = buildChangereport(root1, resultRoot, &run.originals(), options.all);
    if (!job.writeResult)
        countAndRelease();
    log.flush();
    timer.done(job.report ? "write and report" : "write");
    if (!error.isEmpty()) {
        outcome.error = error;
        return outcome;
    }
    if (job.report) {
        outcome.counts = outcome.report.counts;
        outcome.shifted = outcome.report.shifted;
    }
    outcome.status = equal ? Equal : Different;
    return outcome;
}
