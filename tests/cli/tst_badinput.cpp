// Input of extreme size through the command-line front end (the smaller hostile and broken
// inputs are case folders): each run ends with a correct result, never a crash or a hang.
#include "../testfiles.h"
#include "clirun.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QByteArray kOld = "<?xml version=\"1.0\"?>\n<doc><item>old</item></doc>\n";

} // namespace

class Tst_badinput : public QObject {
    Q_OBJECT

private:
    Clirun cli(const QStringList& arguments, int timeoutMs = 120000)
    {
        return runCli(m_dir.path(), arguments, timeoutMs);
    }

    QString write(const QString& name, const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        file.write(bytes);
        return path;
    }

    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Built-in settings, no log file: every case runs the same way.
        QVERIFY(!write(QStringLiteral("old.xml"), kOld).isEmpty());
    }

    // Well-formed documents of extreme shape are compared, not refused.
    void extremeShapes_data()
    {
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<int>("depth");
        QTest::newRow("100 MB text node") << QByteArray("<doc><item>")
                + QByteArray(100 * 1024 * 1024, 'x') + QByteArray("</item></doc>")
                                          << 2;
        QByteArray attributes = "<doc><item";
        for (int i = 0; i < 100000; ++i)
            attributes += " a" + QByteArray::number(i) + "=\"" + QByteArray::number(i) + "\"";
        attributes += ">new</item></doc>";
        QTest::newRow("100,000 attributes") << attributes << 2;
        QTest::newRow("nested 1,000,000 deep") << QByteArray("<doc>")
                + QByteArray("<a>").repeated(1000000) + QByteArray("</a>").repeated(1000000)
                + QByteArray("</doc>") << 1000001;
    }

    void extremeShapes()
    {
        QFETCH(QByteArray, second);
        QFETCH(int, depth);
        write(QStringLiteral("new.xml"), second);
        const QString resultPath = m_dir.filePath(QStringLiteral("result.xml"));
        QFile::remove(resultPath);
        const Clirun run = cli({ QStringLiteral("-o"), resultPath, QStringLiteral("old.xml"),
                                   QStringLiteral("new.xml") },
            280000);
        QVERIFY(!run.crashed);
        QVERIFY2(run.exitCode == 1, run.err.constData());

        QFile result(resultPath);
        QVERIFY(result.open(QIODevice::ReadOnly));
        QXmlStreamReader reader(&result);
        int level = 0;
        int deepest = 0;
        while (!reader.atEnd()) {
            const QXmlStreamReader::TokenType token = reader.readNext();
            if (token == QXmlStreamReader::StartElement)
                deepest = qMax(deepest, ++level);
            else if (token == QXmlStreamReader::EndElement)
                --level;
        }
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QCOMPARE(deepest, depth);
    }

    // Two large texts that differ throughout would keep the quadratic text difference busy for
    // hours; the run must end and show them as deleted and inserted.
    void largeDifferingTexts()
    {
        QByteArray oldText;
        QByteArray newText;
        for (qint64 i = 0; oldText.size() < 1024 * 1024; ++i) {
            oldText += QByteArray::number(i * 7919) + ' ';
            newText += QByteArray::number(i * 104729) + ',';
        }
        const QString oldPath
            = write(QStringLiteral("bigold.xml"), "<doc><t>" + oldText + "</t></doc>");
        write(QStringLiteral("new.xml"), "<doc><t>" + newText + "</t></doc>");
        // The text difference on, the log off.
        const QStringList values
            = builtinValues({ { "do_txtdiff", "true" }, { "write_log", "false" } });
        const QString config = m_dir.filePath(QStringLiteral("txtdiff_cfg.xml"));
        QCOMPARE(writeConfigFile(config, values, {}), 0);
        const QString resultPath = m_dir.filePath(QStringLiteral("result.xml"));
        QFile::remove(resultPath);
        const Clirun run = cli({ QStringLiteral("-cfg"), config, QStringLiteral("-o"), resultPath,
            QStringLiteral("bigold.xml"), QStringLiteral("new.xml") });
        QFile::remove(oldPath);
        QVERIFY(!run.crashed);
        QVERIFY2(run.exitCode == 1, run.err.constData());
        QFile result(resultPath);
        QVERIFY(result.open(QIODevice::ReadOnly));
        const QByteArray written = result.readAll();
        QVERIFY(written.contains(oldText.left(1000)));
        QVERIFY(written.contains(newText.left(1000)));
    }
};

QTEST_GUILESS_MAIN(Tst_badinput)
#include "tst_badinput.moc"
