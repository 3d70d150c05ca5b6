#pragma once

#include <QProcess>
#include <QStringList>

// What a zov-cli run left; crashed also when it did not end within the time allowed.
struct Clirun {
    int exitCode = -1;
    bool crashed = true;
    QByteArray out;
    QByteArray err;
};

inline Clirun runCli(const QString& folder, const QStringList& arguments, int timeoutMs = 120000)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(ZOV_CLI_PATH), arguments);
    Clirun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
        return run;
    }
    run.crashed = process.exitStatus() != QProcess::NormalExit;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}
