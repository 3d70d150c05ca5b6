#pragma once

#include "compare/fingerprint.h"
#include "compare/worklist.h"

#include <QFile>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>

class QIODevice;
class Zovtree;

// One comparison run from configuration to result file. Front ends drive it step by step:
// init, parseFiles, compare, then writeResultFile (usually on a Writethread).
class Diffscenario {
public:
    // arguments: program name, file 1, file 2, then e.g. "-cfg" and a path; not owned.
    Diffscenario(QStringList& arguments, bool guiRun);
    ~Diffscenario();

    Diffscenario(const Diffscenario&) = delete;
    Diffscenario& operator=(const Diffscenario&) = delete;

    // Configuration, log file, configuration dump, file checks, prolog; returns 0, -1095 (the
    // read error is logged too), -1015 or -1020. With the shared setup only the file checks and
    // the prolog.
    int init();
    // Reads the configuration (or the built-in values, see setBuiltinFallback) into the store
    // and applies the overrides; returns 0 or -1095.
    int readConfiguration();
    // Logs the configuration file's path and every setting.
    void logConfiguration();
    // Parses file 1 on a worker thread while this thread parses file 2; returns 0, -1020 or
    // -1055.
    int parseFiles();
    // Builds the merged result tree and releases tree 2; returns 0.
    int compare();
    // Frees tree 1, for a front end that reads only the result from here on.
    void releaseFirstTree();
    // Writes the result file; returns the empty string or an error text.
    QString writeResultFile();
    // Writes the prolog and the result tree to an open device; returns the empty string or an
    // error text when the device refused data.
    QString writeResult(QIODevice* device);

    // Log file creation and release (the log is closed until the next run creates one).
    int createLogFile();
    void closeLog();
    // Captures what precedes file 2's document element; returns 0 or -1020.
    int readProlog();
    // Parses the open file 2 into tree 2, with the parse log when configured; returns 0 or -1055.
    int parseSecondInput();

    // With the fallback on, a missing configuration file means the built-in values instead of
    // an error (for front ends that run without one).
    void setBuiltinFallback(bool on) { m_builtinFallback = on; }
    // Whether init took the built-in values because no configuration file exists.
    bool usedBuiltins() const { return m_usedBuiltins; }
    // Settings applied on top of the configuration for this run only, in order; nothing is
    // written to the configuration file.
    void setOverrides(const QVector<QPair<QString, QString>>& overrides)
    {
        m_overrides = overrides;
    }
    // The configuration and the log belong to the caller (runs side by side on threads): init
    // reads neither, and the run leaves the log open when it ends.
    void setSharedSetup(bool on) { m_sharedSetup = on; }
    // Messages that cannot go to the log are printed to standard error only, for front ends
    // whose standard output carries a result or a report (default: both standard streams).
    void setStandardErrorOnly(bool on) { m_standardErrorOnly = on; }
    // Records the new-side texts and attribute lists that the refinement replaces with marked
    // ones, for a report; off by default.
    void setKeepOriginals(bool on) { m_keepOriginals = on; }
    const Refinedoriginals& originals() const { return m_originals; }

    // The result path used instead of the derived name (empty: derived); "-" is not handled here.
    void setResultPath(const QString& path) { m_resultPath = path; }
    // The path writeResultFile writes to.
    QString resultPath() const;

    Zovtree* tree1() const { return m_tree1.get(); }
    Zovtree* tree2() const { return m_tree2.get(); }
    Zovtree* resultTree() const { return m_resultTree.get(); }
    const QString& prolog() const { return m_prolog; }
    QString file1Name() const { return m_file1.fileName(); }
    QString file2Name() const { return m_file2.fileName(); }
    bool guiRun() const { return m_guiRun; }
    // The text of the last error this run reported, for front ends without a log window.
    const QString& lastError() const { return m_lastError; }

private:
    void logError(const QString& message);
    // Whether path names the same existing file as input (symbolic links resolved).
    static bool isInputFile(const QString& path, const QString& input);

    QStringList& m_arguments;
    bool m_guiRun;
    bool m_builtinFallback = false;
    bool m_usedBuiltins = false;
    bool m_sharedSetup = false;
    bool m_standardErrorOnly = false;
    bool m_keepOriginals = false;
    QVector<QPair<QString, QString>> m_overrides;
    Refinedoriginals m_originals;
    std::unique_ptr<Zovtree> m_tree1;
    std::unique_ptr<Zovtree> m_tree2;
    std::unique_ptr<Zovtree> m_resultTree;
    QString m_prolog;
    QFile m_file1;
    QFile m_file2;
    std::unique_ptr<QFile> m_logFile;
    Worklist m_workList;
    QString m_resultPath;
    QString m_lastError;
    // The settings under which the parse threads stored the trees' fingerprints.
    Keyflags m_fingerprintFlags;
    bool m_fingerprinted = false;
};
