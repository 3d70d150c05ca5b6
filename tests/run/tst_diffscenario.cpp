#include "../testfiles.h"
#include "model/zovtree.h"
#include "run/diffscenario.h"
#include "run/logger.h"
#include "run/writethread.h"

#include <QDir>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <csignal>
#include <sys/resource.h>

namespace {

const QByteArray oldXml = "<?xml version=\"1.0\"?>\n<r><a>x</a><b/><c/></r>\n";
const QByteArray newXml = "<?xml version=\"1.0\"?>\n<r><b/><a>y</a></r>\n";

// The characters of all text nodes that are not indentation, or a marker when the document does not
// parse.
QString characters(const QByteArray& xml)
{
    QXmlStreamReader reader(xml);
    QString text;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::Characters && !reader.isWhitespace())
            text += reader.text();
    }
    return reader.hasError() ? QStringLiteral("<error: %1>").arg(reader.errorString()) : text;
}

} // namespace

class Tst_diffscenario : public QObject {
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }

    QString write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QString();
        file.write(bytes);
        return file.fileName();
    }

    // A configuration file with the built-in values except the given ones.
    void configure(const QHash<QString, QString>& overrides) const
    {
        QCOMPARE(
            writeConfigFile(path(QStringLiteral("zov_cfg.xml")), builtinValues(overrides), {}), 0);
    }

    // Runs init, parseFiles and compare; returns the first nonzero code.
    int runUntilCompared(Diffscenario& run) const
    {
        int code = run.init();
        if (code == 0)
            code = run.parseFiles();
        if (code == 0)
            code = run.compare();
        return code;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_startDir;
    QStringList m_arguments;

private Q_SLOTS:
    void initTestCase() { m_startDir = QDir::currentPath(); }

    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir::setCurrent(m_dir->path()));
        configure({});
        write(QStringLiteral("old.xml"), oldXml);
        write(QStringLiteral("new.xml"), newXml);
        m_arguments = QStringList { QStringLiteral("zov"), QStringLiteral("old.xml"),
            QStringLiteral("new.xml") };
    }

    void cleanup()
    {
        QDir::setCurrent(m_startDir);
        m_dir.reset();
    }

    void wholeRun()
    {
        {
            Diffscenario run(m_arguments, true);
            QCOMPARE(runUntilCompared(run), 0);
            QVERIFY(run.tree1());
            QVERIFY(!run.tree2());
            QCOMPARE(run.resultTree()->root()->text(), QStringLiteral("r"));
            QCOMPARE(run.prolog(), QStringLiteral("<?xml version=\"1.0\"?>\n"));
            QCOMPARE(run.writeResultFile(), QString());
            QCOMPARE(run.resultPath(), QStringLiteral("new_zov.xml"));
        }
        QCOMPARE(Logger::instance().state(), 1);
        const QByteArray result = readTextFile(path(QStringLiteral("new_zov.xml")));
        QVERIFY(result.startsWith("<?xml version=\"1.0\"?>\n<r>"));
        QVERIFY(result.endsWith("</r>\n"));
        QVERIFY(result.contains("<?ZOV position change -1?>"));
        QCOMPARE(characters(result), QStringLiteral("y"));

        const QByteArray log = readTextFile(path(QStringLiteral("zov_log.txt")));
        for (const char* line : { " Starting ZOV log    Info\n", "  Path to configuration file: ",
                 "  writeresultfile true    Info\n", "  Starting tree compare process    Info\n",
                 "  Writing result file to new_zov.xml    Info\n",
                 "  Using encoding UTF-8    Info\n", "  Writing result file finished.    Info\n" })
            QVERIFY2(log.contains(line), line);
        QVERIFY(log.indexOf("Starting ZOV log") < log.indexOf("Path to configuration file"));
    }

    void initFailures_data()
    {
        QTest::addColumn<QString>("file1");
        QTest::addColumn<QString>("file2");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("error");
        QTest::newRow("file 1 missing") << "gone.xml"
                                        << "new.xml" << -1015 << "File not found: gone.xml";
        QTest::newRow("file 2 missing") << "old.xml"
                                        << "gone.xml" << -1015 << "File not found: gone.xml";
        QTest::newRow("file 2 a directory") << "old.xml"
                                            << "sub" << -1020 << "Could not open file sub";
    }
    void initFailures()
    {
        QFETCH(QString, file1);
        QFETCH(QString, file2);
        QFETCH(int, code);
        QFETCH(QString, error);
        QDir(m_dir->path()).mkdir(QStringLiteral("sub"));
        QStringList arguments { QStringLiteral("zov"), file1, file2 };
        Diffscenario run(arguments, true);
        QCOMPARE(run.init(), code);
        QCOMPARE(run.lastError(), error);
    }

    void configurationUnreadable()
    {
        m_arguments << QStringLiteral("-cfg") << QStringLiteral("nothere.xml");
        Diffscenario run(m_arguments, false);
        QCOMPARE(run.init(), -1095);
        QCOMPARE(run.lastError(),
            QStringLiteral("Error while trying to read configuration file: -1015"));
        run.closeLog();
        QVERIFY(readTextFile(path(QStringLiteral("zov_log.txt"))).contains(run.lastError().toUtf8()));
    }

    void builtinFallback_data()
    {
        QTest::addColumn<bool>("fallback");
        QTest::addColumn<int>("code");
        QTest::newRow("fallback on") << true << 0;
        QTest::newRow("fallback off") << false << -1095;
    }
    void builtinFallback()
    {
        QFETCH(bool, fallback);
        QFETCH(int, code);
        QFile::remove(path(QStringLiteral("zov_cfg.xml")));
        Diffscenario run(m_arguments, false);
        run.setBuiltinFallback(fallback);
        QCOMPARE(run.init(), code);
        QCOMPARE(run.usedBuiltins(), fallback);
    }

    void unopenableFirstFile()
    {
        QDir(m_dir->path()).mkdir(QStringLiteral("sub"));
        m_arguments[1] = QStringLiteral("sub");
        Diffscenario run(m_arguments, true);
        QCOMPARE(run.init(), 0);
        QCOMPARE(run.parseFiles(), -1020);
        QCOMPARE(run.lastError(), QStringLiteral("Error: Unable to open file sub"));
    }

    void firstFileErrorComesAfterSecondParse_data()
    {
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<int>("errorLines");
        QTest::newRow("file 2 fine") << newXml << 1;
        QTest::newRow("file 2 broken too") << QByteArray("<r><b></r>") << 2;
    }
    void firstFileErrorComesAfterSecondParse()
    {
        QFETCH(QByteArray, second);
        QFETCH(int, errorLines);
        configure({ { QStringLiteral("write_parselog"), QStringLiteral("true") } });
        write(QStringLiteral("old.xml"), "<r><a></r>");
        write(QStringLiteral("new.xml"), second);
        {
            Diffscenario run(m_arguments, true);
            QCOMPARE(run.init(), 0);
            QCOMPARE(run.parseFiles(), -1055);
            QVERIFY(run.lastError().startsWith(
                QStringLiteral("Error while parsing XML file old.xml: ")));
        }
        // File 2 was parsed to the end: its parse log exists.
        QVERIFY(QFile::exists(path(QStringLiteral("ZOV_Parselog_new.xml"))));
        const QByteArray log = readTextFile(path(QStringLiteral("zov_log.txt")));
        QCOMPARE(log.count("    Error\n"), errorLines);
        QVERIFY(log.lastIndexOf("Error while parsing XML file old.xml: ")
            > log.lastIndexOf("Error while parsing XML file new.xml"));
    }

    void parseLog_data()
    {
        QTest::addColumn<QString>("write_parselog");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("logName");
        const auto row = [](const char* name, const char* on, const char* second, const char* log) {
            QTest::newRow(name) << QString(on) << QString(second) << QString(log);
        };
        row("on", "true", "new.xml", "ZOV_Parselog_new.xml");
        row("on, name without extension", "true", "data", "ZOV_Parselog_data");
        row("on, file in a directory", "yes", "sub/new.xml", "ZOV_Parselog_new.xml");
        row("off", "false", "new.xml", "");
    }
    void parseLog()
    {
        QFETCH(QString, write_parselog);
        QFETCH(QString, second);
        QFETCH(QString, logName);
        configure({ { QStringLiteral("write_parselog"), write_parselog } });
        QDir(m_dir->path()).mkdir(QStringLiteral("sub"));
        write(second, newXml);
        m_arguments[2] = second;
        Diffscenario run(m_arguments, true);
        QCOMPARE(run.init(), 0);
        QCOMPARE(run.parseFiles(), 0);
        const QStringList logs
            = QDir(m_dir->path()).entryList({ QStringLiteral("ZOV_Parselog_*") }, QDir::Files);
        QCOMPARE(logs, logName.isEmpty() ? QStringList() : QStringList { logName });
        if (!logName.isEmpty())
            QVERIFY(readTextFile(path(logName)).startsWith(":documentEncoding "));
    }

    void parseLogNeverReplacesAnInput()
    {
        configure({ { QStringLiteral("write_parselog"), QStringLiteral("true") } });
        write(QStringLiteral("ZOV_Parselog_new.xml"), oldXml);
        m_arguments[1] = QStringLiteral("ZOV_Parselog_new.xml");
        Diffscenario run(m_arguments, true);
        QCOMPARE(runUntilCompared(run), 0);
        QCOMPARE(readTextFile(path(QStringLiteral("ZOV_Parselog_new.xml"))), oldXml);
    }

    void writeLogOff()
    {
        configure({ { QStringLiteral("write_log"), QStringLiteral("false") } });
        Diffscenario run(m_arguments, true);
        QCOMPARE(runUntilCompared(run), 0);
        QCOMPARE(run.writeResultFile(), QString());
        QCOMPARE(Logger::instance().state(), 1);
        QVERIFY(!QFile::exists(path(QStringLiteral("zov_log.txt"))));
        QVERIFY(QFile::exists(path(QStringLiteral("new_zov.xml"))));
    }

    void missingLogDirectory()
    {
        configure({ { QStringLiteral("logdir"), path(QStringLiteral("no/such/dir")) } });
        Diffscenario run(m_arguments, true);
        QCOMPARE(run.init(), 0);
        QCOMPARE(run.createLogFile(), -1040);
        QCOMPARE(Logger::instance().state(), 1);
    }

    void writeResultFileSwitch_data()
    {
        QTest::addColumn<QString>("writeresultfile");
        QTest::addColumn<QString>("resultPath");
        QTest::addColumn<QString>("written");
        const auto row
            = [](const char* name, const char* on, const char* path, const char* written) {
                  QTest::newRow(name) << QString(on) << QString(path) << QString(written);
              };
        row("on", "true", "", "new_zov.xml");
        row("off", "false", "", "");
        row("off, explicit path", "false", "out.xml", "out.xml");
    }
    void writeResultFileSwitch()
    {
        QFETCH(QString, writeresultfile);
        QFETCH(QString, resultPath);
        QFETCH(QString, written);
        configure({ { QStringLiteral("writeresultfile"), writeresultfile } });
        Diffscenario run(m_arguments, true);
        QCOMPARE(runUntilCompared(run), 0);
        run.setResultPath(resultPath);
        QCOMPARE(run.writeResultFile(), QString());
        const QStringList files
            = QDir(m_dir->path()).entryList({ QStringLiteral("*.xml") }, QDir::Files);
        QStringList expected { QStringLiteral("new.xml"), QStringLiteral("old.xml"),
            QStringLiteral("zov_cfg.xml") };
        if (!written.isEmpty())
            expected << written;
        expected.sort();
        QCOMPARE(files, expected);
    }

    void prologKeepsEveryCharacter_data()
    {
        QTest::addColumn<QByteArray>("second");
        const QString comment = QStringLiteral("<!-- Gr\u00fc\u00dfe, caf\u00e9 <b> -->\n");
        const QString body = QStringLiteral("<r><b/><a>\u00e9t\u00e9</a></r>");
        QTest::newRow("iso-8859-1")
            << QString("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n" + comment + body)
                   .toLatin1();
        QTest::newRow("utf-8")
            << QString("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" + comment + body).toUtf8();
        QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
        QTest::newRow("utf-16 with byte-order mark") << QByteArray(
            utf16.encode("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n" + comment + body));
    }
    void prologKeepsEveryCharacter()
    {
        QFETCH(QByteArray, second);
        write(QStringLiteral("new.xml"), second);
        Diffscenario run(m_arguments, true);
        QCOMPARE(runUntilCompared(run), 0);
        QCOMPARE(run.writeResultFile(), QString());
        const QByteArray result = readTextFile(path(QStringLiteral("new_zov.xml")));
        QVERIFY2(result.startsWith("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                   "<!-- Gr\xc3\xbc\xc3\x9f"
                                   "e, caf\xc3\xa9 <b> -->\n"),
            result.constData());
        QCOMPARE(characters(result), QStringLiteral("\u00e9t\u00e9"));
    }

    void failedWriteKeepsTheEarlierFile()
    {
        write(QStringLiteral("new_zov.xml"), "earlier result");
        Diffscenario run(m_arguments, true);
        QCOMPARE(runUntilCompared(run), 0);

        // A file size limit makes the device refuse data the way a full disk does.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit limited = saved;
        limited.rlim_cur = 20;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &limited), 0);
        const QString error = run.writeResultFile();
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &saved), 0);

        QVERIFY2(error.startsWith(QStringLiteral("Could not write file new_zov.xml")),
            qPrintable(error));
        QCOMPARE(run.lastError(), error);
        QCOMPARE(readTextFile(path(QStringLiteral("new_zov.xml"))), QByteArray("earlier result"));
        const QStringList files = QDir(m_dir->path()).entryList(QDir::Files);
        QCOMPARE(files,
            QStringList({ "new.xml", "new_zov.xml", "old.xml", "zov_cfg.xml", "zov_log.txt" }));
    }

    void resultNeverReplacesAnInput_data()
    {
        QTest::addColumn<QString>("resultPath");
        QTest::newRow("file 1") << "old.xml";
        QTest::newRow("file 2 by another spelling") << "./sub/../new.xml";
        QTest::newRow("link to file 1") << "link.xml";
    }
    void resultNeverReplacesAnInput()
    {
        QFETCH(QString, resultPath);
        QDir(m_dir->path()).mkdir(QStringLiteral("sub"));
        QVERIFY(QFile::link(path(QStringLiteral("old.xml")), path(QStringLiteral("link.xml"))));
        Diffscenario run(m_arguments, true);
        QCOMPARE(runUntilCompared(run), 0);
        run.setResultPath(resultPath);
        const QString error = run.writeResultFile();
        QVERIFY(error.contains(QStringLiteral("would overwrite an input file")));
        QCOMPARE(readTextFile(path(QStringLiteral("old.xml"))), oldXml);
        QCOMPARE(readTextFile(path(QStringLiteral("new.xml"))), newXml);
    }

    void writethreadReturnsTheWritersText()
    {
        Diffscenario run(m_arguments, true);
        QCOMPARE(runUntilCompared(run), 0);
        run.setResultPath(QStringLiteral("no/such/dir/out.xml"));
        Writethread thread(&run);
        thread.start(QThread::InheritPriority);
        QVERIFY(thread.wait());
        QCOMPARE(thread.result(), QStringLiteral("Could not open file no/such/dir/out.xml"));
    }
};

QTEST_GUILESS_MAIN(Tst_diffscenario)
#include "tst_diffscenario.moc"
