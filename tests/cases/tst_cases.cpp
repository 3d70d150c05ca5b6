#include "../testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Files of a case folder that describe the case rather than take part in the run.
const QStringList controlFiles { "cmd", "status", "env", "settings", "stdout", "stderr", "expected",
    "absent", "README.md" };

QByteArray readCaseFile(const QString& folder, const QString& name)
{
    return readTextFile(folder + QLatin1Char('/') + name);
}

// Every file below root by its path relative to root, with its contents.
QMap<QString, QByteArray> filesBelow(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(root).relativeFilePath(path), readTextFile(path));
    }
    return files;
}

// Copies the run's inputs of a case (everything but its control files) into target.
bool copyInputs(const QString& folder, const QString& target)
{
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString relative = QDir(folder).relativeFilePath(path);
        if (controlFiles.contains(relative.section(QLatin1Char('/'), 0, 0)))
            continue;
        const QString copy = target + QLatin1Char('/') + relative;
        if (!QDir().mkpath(QFileInfo(copy).path()) || !QFile::copy(path, copy))
            return false;
    }
    return true;
}

// The built-in settings with the case's "key=value" lines applied, as zov_cfg.xml in folder.
bool writeSettings(const QByteArray& lines, const QString& folder)
{
    QHash<QString, QString> overrides;
    for (const QByteArray& line : lines.split('\n')) {
        const qsizetype eq = line.indexOf('=');
        if (eq > 0)
            overrides.insert(QString::fromUtf8(line.left(eq).trimmed()),
                QString::fromUtf8(line.mid(eq + 1).trimmed()));
    }
    return writeConfigFile(folder + QStringLiteral("/zov_cfg.xml"), builtinValues(overrides), {})
        == 0;
}

} // namespace

// Whole runs of zov-cli, one folder per case below cases/: see cases/README.md for the form.
class Tst_cases : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void run_data()
    {
        QTest::addColumn<QString>("folder");
        const QDir cases(QStringLiteral(ZOV_CASES));
        for (const QString& name : cases.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
            QTest::newRow(qPrintable(name)) << cases.filePath(name);
    }

    void run()
    {
        QFETCH(QString, folder);
        QTemporaryDir work;
        QVERIFY(work.isValid());
        QVERIFY(copyInputs(folder, work.path()));
        const QByteArray settings = readCaseFile(folder, QStringLiteral("settings"));
        if (!settings.isEmpty())
            QVERIFY(writeSettings(settings, work.path()));
        const QMap<QString, QByteArray> inputs = filesBelow(work.path());

        QProcess process;
        process.setWorkingDirectory(work.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QByteArray& line : readCaseFile(folder, QStringLiteral("env")).split('\n')) {
            const qsizetype eq = line.indexOf('=');
            if (eq > 0)
                environment.insert(
                    QString::fromUtf8(line.left(eq)), QString::fromUtf8(line.mid(eq + 1)));
        }
        process.setProcessEnvironment(environment);
        const QString cmd
            = QString::fromUtf8(readCaseFile(folder, QStringLiteral("cmd"))).trimmed();
        QVERIFY2(!cmd.isEmpty(), "the case has no cmd file");
        process.start(QStringLiteral(ZOV_CLI_PATH), QProcess::splitCommand(cmd));
        QVERIFY2(process.waitForFinished(120000), "zov-cli did not end");
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        const QByteArray out = process.readAllStandardOutput();
        const QByteArray err = process.readAllStandardError();
        const QByteArray status = readCaseFile(folder, QStringLiteral("status")).trimmed();
        QVERIFY2(!status.isEmpty(), "the case has no status file");
        QVERIFY2(process.exitCode() == status.toInt(), err.constData());

        if (QFile::exists(folder + QStringLiteral("/stdout")))
            QCOMPARE(out, readCaseFile(folder, QStringLiteral("stdout")));
        const QByteArray errLines = readCaseFile(folder, QStringLiteral("stderr"));
        if (QFile::exists(folder + QStringLiteral("/stderr")) && errLines.isEmpty())
            QVERIFY2(err.isEmpty(), err.constData());
        for (const QByteArray& line : errLines.split('\n')) {
            if (!line.isEmpty())
                QVERIFY2(err.contains(line), line + " is missing from: " + err);
        }

        // Inputs stay as they were, the expected files are there exactly, nothing else is left.
        QMap<QString, QByteArray> after = filesBelow(work.path());
        for (const QByteArray& name : readCaseFile(folder, QStringLiteral("absent")).split('\n')) {
            if (!name.isEmpty())
                QVERIFY2(!after.contains(QString::fromUtf8(name)), name + " was left");
        }
        after.remove(QStringLiteral("zov_log.txt"));
        for (auto it = inputs.cbegin(); it != inputs.cend(); ++it)
            QVERIFY2(after.take(it.key()) == it.value(), qPrintable(it.key() + " was changed"));
        const QMap<QString, QByteArray> expected = filesBelow(folder + QStringLiteral("/expected"));
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            QVERIFY2(after.contains(it.key()), qPrintable(it.key() + " was not written"));
            QCOMPARE(after.take(it.key()), it.value());
        }
        QVERIFY2(after.isEmpty(), qPrintable("unexpected files: " + after.keys().join(' ')));
    }
};

QTEST_GUILESS_MAIN(Tst_cases)
#include "tst_cases.moc"
