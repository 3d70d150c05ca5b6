#include "../testfiles.h"
#include "clirun.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

// zov-cli run as a separate process in a scratch directory.
class Tst_cli : public QObject {
    Q_OBJECT

private:
    Clirun run(const QStringList& arguments) { return runCli(m_dir->path(), arguments); }
    QString path(const QString& name) const { return m_dir->filePath(name); }
    void write(const QString& name, const QByteArray& bytes)
    {
        QVERIFY(writeTextFile(path(name), bytes));
    }
    void configure(const QString& name, const QHash<QString, QString>& overrides)
    {
        QCOMPARE(writeConfigFile(path(name), builtinValues(overrides), {}), 0);
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }
    void cleanup() { m_dir.reset(); }

    void exitStatus_data()
    {
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<QByteArray>("nu");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("equal") << QByteArray("<r a='1' b='2'><x>t</x><y/></r>")
                               << QByteArray("<r b='2' a='1'>\n  <x>t</x>\n  <y/>\n</r>") << 0;
        QTest::newRow("text changed")
            << QByteArray("<r><x>t</x></r>") << QByteArray("<r><x>u</x></r>") << 1;
        QTest::newRow("moved") << QByteArray("<r><x/><y/></r>") << QByteArray("<r><y/><x/></r>")
                               << 1;
        QTest::newRow("root attribute changed")
            << QByteArray("<r a='1'/>") << QByteArray("<r a='2'/>") << 1;
        QTest::newRow("file 2 not well-formed") << QByteArray("<r/>") << QByteArray("<r>") << 2;
    }
    void exitStatus()
    {
        QFETCH(QByteArray, old);
        QFETCH(QByteArray, nu);
        QFETCH(int, exitCode);
        write(QStringLiteral("old.xml"), old);
        write(QStringLiteral("new.xml"), nu);
        const Clirun outcome = run({ QStringLiteral("old.xml"), QStringLiteral("new.xml") });
        QVERIFY2(outcome.exitCode == exitCode, outcome.err.constData());
        QCOMPARE(readTextFile(path(QStringLiteral("old.xml"))), old);
        QCOMPARE(readTextFile(path(QStringLiteral("new.xml"))), nu);
    }

    void summaryCountsEveryKind()
    {
        write(QStringLiteral("old.xml"), "<r><a>1</a><b/><c/><d k='1'/></r>");
        write(QStringLiteral("new.xml"), "<r><b/><a>2</a><e/><d k='2'/></r>");
        const Clirun outcome = run({ QStringLiteral("old.xml"), QStringLiteral("new.xml") });
        QCOMPARE(outcome.exitCode, 1);
        const QList<QByteArray> lines = outcome.out.split('\n');
        QCOMPARE(lines.value(0), QByteArray("Result file: new_zov.xml"));
        QVERIFY2(lines.contains("position change: 1"), outcome.out.constData());
        QVERIFY2(lines.contains("position and content change: 1"), outcome.out.constData());
        QVERIFY2(lines.contains("attribute change: 1"), outcome.out.constData());
        QVERIFY2(lines.contains("content change: 1"), outcome.out.constData());
        QVERIFY(QFile::exists(path(QStringLiteral("new_zov.xml"))));
        QVERIFY(outcome.err.contains("built-in settings"));
    }

    void resultToStandardOutput()
    {
        write(QStringLiteral("old.xml"),
            "<?xml version='1.0' encoding='ISO-8859-1'?><r><x>a</x></r>");
        write(QStringLiteral("new.xml"),
            "<?xml version='1.0' encoding='ISO-8859-1'?><r><x>caf\xe9</x></r>");
        const Clirun outcome = run({ QStringLiteral("-o"), QStringLiteral("-"),
            QStringLiteral("old.xml"), QStringLiteral("new.xml") });
        QCOMPARE(outcome.exitCode, 1);
        QVERIFY(outcome.out.startsWith("<?xml version='1.0' encoding='UTF-8'?>"));
        QXmlStreamReader reader(outcome.out);
        QString text;
        while (!reader.atEnd()) {
            if (reader.readNext() == QXmlStreamReader::Characters && !reader.isWhitespace())
                text += reader.text();
        }
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QCOMPARE(text, QStringLiteral("caf\u00e9"));
        QVERIFY(outcome.err.contains("Result written to standard output"));
        QVERIFY(outcome.err.contains("content change: 2"));
        QVERIFY(!QFile::exists(path(QStringLiteral("new_zov.xml"))));
    }

    void configuration_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("resultFile");
        QTest::addColumn<QByteArray>("stderrPart");
        QTest::newRow("explicit file") << QStringList { "-cfg", "my.xml", "old.xml", "new.xml" }
                                       << 1 << "new_diff.xml" << QByteArray();
        QTest::newRow("explicit file missing")
            << QStringList { "-cfg", "none.xml", "old.xml", "new.xml" } << 2 << ""
            << QByteArray("Error while trying to read configuration file: -1015 (-1095)");
        QTest::newRow("default file")
            << QStringList { "old.xml", "new.xml" } << 1 << "new_dflt.xml" << QByteArray();
        QTest::newRow("result path given while writeresultfile is off")
            << QStringList { "-cfg", "off.xml", "-o", "out.xml", "old.xml", "new.xml" } << 1
            << "out.xml" << QByteArray();
        QTest::newRow("writeresultfile off")
            << QStringList { "-cfg", "off.xml", "old.xml", "new.xml" } << 1 << "" << QByteArray();
    }
    void configuration()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, resultFile);
        QFETCH(QByteArray, stderrPart);
        write(QStringLiteral("old.xml"), "<r><x/></r>");
        write(QStringLiteral("new.xml"), "<r><y/></r>");
        configure(QStringLiteral("my.xml"),
            { { QStringLiteral("addname_result"), QStringLiteral("_diff") } });
        configure(QStringLiteral("zov_cfg.xml"),
            { { QStringLiteral("addname_result"), QStringLiteral("_dflt") } });
        configure(QStringLiteral("off.xml"),
            { { QStringLiteral("writeresultfile"), QStringLiteral("false") } });
        const Clirun outcome = run(arguments);
        QVERIFY2(outcome.exitCode == exitCode, outcome.err.constData());
        QVERIFY2(outcome.err.contains(stderrPart), outcome.err.constData());
        QVERIFY(!outcome.err.contains("built-in settings"));
        const QStringList results
            = QDir(m_dir->path())
                  .entryList({ QStringLiteral("new_*"), QStringLiteral("out.xml") }, QDir::Files);
        QCOMPARE(results, resultFile.isEmpty() ? QStringList() : QStringList { resultFile });
    }

    void quietPrintsNothing()
    {
        write(QStringLiteral("old.xml"), "<r><x/></r>");
        write(QStringLiteral("new.xml"), "<r><y/></r>");
        const Clirun outcome
            = run({ QStringLiteral("-q"), QStringLiteral("old.xml"), QStringLiteral("new.xml") });
        QCOMPARE(outcome.exitCode, 1);
        QCOMPARE(outcome.out, QByteArray());
        QCOMPARE(outcome.err, QByteArray());
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("output");
        QTest::newRow("help") << QStringList { "--help" } << 0 << QByteArray("Usage: zov-cli");
        QTest::newRow("one file") << QStringList { "a.xml" } << 2
                                  << QByteArray("expected two XML files");
        QTest::newRow("unknown option")
            << QStringList { "-x", "a", "b" } << 2 << QByteArray("unknown option -x");
        QTest::newRow("-cfg without value")
            << QStringList { "a", "b", "-cfg" } << 2 << QByteArray("-cfg needs a value");
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, output);
        const Clirun outcome = run(arguments);
        QCOMPARE(outcome.exitCode, exitCode);
        QVERIFY2(
            (outcome.out + outcome.err).contains(output), (outcome.out + outcome.err).constData());
    }
};

QTEST_GUILESS_MAIN(Tst_cli)
#include "tst_cli.moc"
