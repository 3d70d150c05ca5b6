#include "cli/folderrun.h"

#include "cli/pairrun.h"
#include "output/reportformat.h"
#include "run/logger.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QSet>
#include <QThread>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

enum Side { Both, OldOnly, NewOnly };

struct Entry {
    QString path;
    Side side = Both;
};

// What one pair left for the printer; filled by a worker, read once done is set.
struct Pairresult {
    bool done = false;
    int status = Failure;
    QString error;
    QStringList counts;
    QString reportText;
    QJsonObject reportJson;
};

// Relative paths of the files below root whose name (or, for a pattern with a slash, whose
// relative path) matches a pattern; hidden files and folders are left out.
QSet<QString> filesBelow(const QString& root, const QStringList& globs)
{
    QVector<QRegularExpression> patterns;
    for (const QString& glob : globs)
        patterns.append(QRegularExpression(QRegularExpression::wildcardToRegularExpression(glob)));
    QSet<QString> files;
    // Relative paths come out right only against an absolute base.
    const QDir base(QFileInfo(root).absoluteFilePath());
    QDirIterator it(base.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = base.relativeFilePath(it.next());
        for (qsizetype k = 0; k < globs.size(); ++k) {
            const bool whole = globs.at(k).contains(QLatin1Char('/'));
            if (patterns.at(k).match(whole ? relative : it.fileName()).hasMatch()) {
                files.insert(relative);
                break;
            }
        }
    }
    return files;
}

// The absolute path with symbolic links resolved as far as the path exists.
QString resolvedPath(const QString& path)
{
    QString existing = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    QString rest;
    while (!QFileInfo::exists(existing) && existing != QDir::rootPath()) {
        rest.prepend(QLatin1Char('/') + QFileInfo(existing).fileName());
        existing = QFileInfo(existing).path();
    }
    return QDir::cleanPath(QFileInfo(existing).canonicalFilePath() + rest);
}

bool isInside(const QString& inner, const QString& outer)
{
    return inner == outer || outer == QDir::rootPath()
        || inner.startsWith(outer + QLatin1Char('/'));
}

Pairresult comparePair(const Options& options, const QString& relative, const QString& target)
{
    Pairjob job;
    job.file1 = options.positional.at(0) + QLatin1Char('/') + relative;
    job.file2 = options.positional.at(1) + QLatin1Char('/') + relative;
    job.sharedSetup = true;
    job.report = options.report != Reportformat::None;
    job.writeResult = !target.isEmpty();
    if (job.writeResult) {
        job.resultPath = target + QLatin1Char('/') + relative;
        QDir().mkpath(QFileInfo(job.resultPath).path());
    }
    Logger::instance().write(QStringLiteral("Comparing %1 with %2").arg(job.file1, job.file2),
        Logger::Info, Logger::FileAndWindow);
    Pairoutcome outcome = runPair(job, options);
    Pairresult result;
    result.status = outcome.status;
    result.error = outcome.error;
    result.counts = countParts(outcome.counts, outcome.shifted);
    if (options.report == Reportformat::Text && (outcome.status == Different || options.all))
        result.reportText = reportText(outcome.report, useColour(options));
    else if (options.report == Reportformat::Json && outcome.status != Failure)
        result.reportJson = reportJson(outcome.report, job.file1, job.file2);
    return result;
}

} // namespace

int runFolders(const Options& options)
{
    const QString& dir1 = options.positional.at(0);
    const QString& dir2 = options.positional.at(1);
    QString target;
    if (!options.output.isEmpty()) {
        target = resolvedPath(options.output);
        for (const QString& dir : { dir1, dir2 }) {
            const QString compared = resolvedPath(dir);
            if (options.output == QLatin1String("-") || isInside(target, compared)
                || isInside(compared, target)) {
                print(stderr,
                    QStringLiteral("zov-cli: -o %1: in folder mode -o names a folder outside "
                                   "the compared ones\n")
                        .arg(options.output));
                return Failure;
            }
        }
    }

    // One configuration and one log for every pair: runs side by side must not reread them.
    noteBuiltins(options);
    QStringList arguments { QStringLiteral("zov-cli") };
    if (options.hasConfig)
        arguments << QStringLiteral("-cfg") << options.config;
    Diffscenario session(arguments, false);
    session.setBuiltinFallback(!options.hasConfig);
    session.setOverrides(options.settings);
    session.setStandardErrorOnly(true);
    if (session.readConfiguration() != 0) {
        print(stderr,
            QStringLiteral("zov-cli: the configuration file %1 could not be read (-1095)\n")
                .arg(options.hasConfig ? options.config : QStringLiteral("zov_cfg.xml")));
        return Failure;
    }
    session.createLogFile();
    session.logConfiguration();

    const QStringList globs = QStringList { QStringLiteral("*.xml") } + options.includes;
    const QSet<QString> left = filesBelow(dir1, globs);
    const QSet<QString> right = filesBelow(dir2, globs);
    QStringList paths = (left + right).values();
    paths.sort();
    QVector<Entry> entries;
    QVector<int> pairs;
    for (const QString& path : std::as_const(paths)) {
        const Side side = !right.contains(path) ? OldOnly : !left.contains(path) ? NewOnly : Both;
        if (side == Both)
            pairs.append(int(entries.size()));
        entries.append({ path, side });
    }

    // Standard library threads and locks, so that ThreadSanitizer sees every hand-over.
    std::vector<Pairresult> results(size_t(entries.size()));
    std::mutex lock;
    std::condition_variable finished;
    std::atomic<int> next { 0 };
    const int jobs = qMax(
        1, qMin(options.jobs > 0 ? options.jobs : QThread::idealThreadCount(), int(pairs.size())));
    std::vector<std::thread> workers;
    for (int w = 0; w < jobs; ++w) {
        workers.emplace_back([&] {
            for (int k = next++; k < pairs.size(); k = next++) {
                const int index = pairs.at(k);
                Pairresult result = comparePair(options, entries.at(index).path, target);
                result.done = true;
                const std::lock_guard<std::mutex> guard(lock);
                results[size_t(index)] = std::move(result);
                finished.notify_all();
            }
        });
    }

    FILE* const summary = options.report == Reportformat::None ? stdout : stderr;
    const auto say = [&](const QString& line) {
        if (!options.quiet)
            print(summary, line + QLatin1Char('\n'));
    };
    int counts[5] = {};
    QJsonArray files;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const Entry& entry = entries.at(i);
        QJsonObject file;
        file.insert(QLatin1String("path"), entry.path);
        if (entry.side != Both) {
            const QString where = entry.side == OldOnly ? dir1 : dir2;
            ++counts[entry.side == OldOnly ? 3 : 4];
            say(entry.path + QStringLiteral(": only in ") + where);
            if (options.report == Reportformat::Text)
                print(stdout, QStringLiteral("=== %1: only in %2\n").arg(entry.path, where));
            file.insert(QLatin1String("status"),
                QLatin1String(entry.side == OldOnly ? "only_old" : "only_new"));
            files.append(file);
            continue;
        }
        Pairresult result;
        {
            std::unique_lock<std::mutex> guard(lock);
            finished.wait(guard, [&] { return results[size_t(i)].done; });
            result = std::move(results[size_t(i)]);
        }
        if (result.status == Failure) {
            ++counts[2];
            print(stderr, QStringLiteral("zov-cli: %1: %2\n").arg(entry.path, result.error));
            say(entry.path + QStringLiteral(": failed"));
            file.insert(QLatin1String("status"), QLatin1String("failed"));
            file.insert(QLatin1String("error"), result.error);
        } else {
            const bool equal = result.status == Equal;
            ++counts[equal ? 1 : 0];
            say(entry.path + (equal ? QStringLiteral(": equal") : QStringLiteral(": different"))
                + (result.counts.isEmpty() ? QString()
                                           : QStringLiteral(" (")
                            + result.counts.join(QLatin1String(", ")) + QLatin1Char(')')));
            if (options.report == Reportformat::Text && (!equal || options.all))
                print(stdout,
                    QStringLiteral("=== ") + entry.path + QLatin1Char('\n') + result.reportText);
            file.insert(QLatin1String("status"), QLatin1String(equal ? "equal" : "different"));
            file.insert(QLatin1String("report"), result.reportJson);
        }
        files.append(file);
    }
    for (std::thread& worker : workers)
        worker.join();

    say(QStringLiteral("%1 files: %2 different, %3 equal, %4 failed, %5 only in %6, %7 only in %8")
            .arg(entries.size())
            .arg(counts[0])
            .arg(counts[1])
            .arg(counts[2])
            .arg(counts[3])
            .arg(dir1)
            .arg(counts[4])
            .arg(dir2));
    if (options.report == Reportformat::Json) {
        QJsonObject total;
        const char* const names[] = { "different", "equal", "failed", "only_old", "only_new" };
        for (int k = 0; k < 5; ++k)
            total.insert(QLatin1String(names[k]), counts[k]);
        QJsonObject document;
        document.insert(QLatin1String("folder_old"), dir1);
        document.insert(QLatin1String("folder_new"), dir2);
        document.insert(QLatin1String("files"), files);
        document.insert(QLatin1String("counts"), total);
        print(stdout, QString::fromUtf8(QJsonDocument(document).toJson()));
    }
    Logger::instance().flush();
    if (counts[2] > 0)
        return Failure;
    return counts[0] + counts[3] + counts[4] > 0 ? Different : Equal;
}
