#pragma once

#include <QDir>
#include <QtTest>
#include <functional>

// Scripts are the .txt files of a folder under data: lines "> command", each followed by the
// lines the command shows; blank lines and lines starting with '#' are left out.

// One row "path" per script of the folder, named after the file.
inline void addScripts(const char* folder)
{
    QTest::addColumn<QString>("path");
    const QDir dir(QStringLiteral(ZOV_TEST_DATA "/") + QLatin1String(folder));
    const QStringList names = dir.entryList({ QStringLiteral("*.txt") }, QDir::Files, QDir::Name);
    QVERIFY(!names.isEmpty());
    for (const QString& name : names)
        QTest::newRow(qPrintable(QFileInfo(name).completeBaseName())) << dir.filePath(name);
}

// Runs each command of the script with run and compares what it returns with the script.
inline void runScript(const QString& path, const std::function<QStringList(const QString&)>& run)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (int at = 0; at < lines.size(); ++at) {
        if (!lines[at].startsWith(QLatin1String("> ")))
            continue;
        QStringList expected;
        for (int next = at + 1; next < lines.size() && !lines[next].startsWith("> "); ++next) {
            if (!lines[next].isEmpty() && !lines[next].startsWith(QLatin1Char('#')))
                expected << lines[next];
        }
        // The command leads both sides so that a failure names it.
        const QString command = lines[at].mid(2);
        QCOMPARE((QStringList(command) << run(command)).join(QLatin1Char('\n')),
            (QStringList(command) << expected).join(QLatin1Char('\n')));
    }
}
