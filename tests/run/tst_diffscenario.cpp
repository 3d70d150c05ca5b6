#include "../testfiles.h"
#include "model/zovtree.h"
#include "run/diffscenario.h"
#include "run/logger.h"
#include "run/writethread.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

const QByteArray oldXml = "<?xml version=\"1.0\"?>\n<r><a>x</a><b/><c/></r>\n";
const QByteArray newXml = "<?xml version=\"1.0\"?>\n<r><b/><a>y</a></r>\n";

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
        const QByteArray log = readTextFile(path(QStringLiteral("zov_log.txt")));
        for (const char* line : { " Starting ZOV log    Info\n", "  Path to configuration file: ",
                 "  writeresultfile true    Info\n", "  Starting tree compare process    Info\n",
                 "  Writing result file to new_zov.xml    Info\n",
                 "  Using encoding UTF-8    Info\n", "  Writing result file finished.    Info\n" })
            QVERIFY2(log.contains(line), line);
        QVERIFY(log.indexOf("Starting ZOV log") < log.indexOf("Path to configuration file"));
    }

    void configurationUnreadable()
    {
        m_arguments << QStringLiteral("-cfg") << QStringLiteral("nothere.xml");
        Diffscenario run(m_arguments, false);
        QCOMPARE(run.init(), -1095);
        QCOMPARE(run.lastError(),
            QStringLiteral("Error while trying to read configuration file: -1015"));
        run.closeLog();
        QVERIFY(
            readTextFile(path(QStringLiteral("zov_log.txt"))).contains(run.lastError().toUtf8()));
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

    // The other spellings of an input are case folders; a link cannot be one.
    void resultNeverReplacesAnInputThroughALink()
    {
        QVERIFY(QFile::link(path(QStringLiteral("old.xml")), path(QStringLiteral("link.xml"))));
        Diffscenario run(m_arguments, true);
        QCOMPARE(runUntilCompared(run), 0);
        run.setResultPath(QStringLiteral("link.xml"));
        QVERIFY(run.writeResultFile().contains(QStringLiteral("would overwrite an input file")));
        QCOMPARE(readTextFile(path(QStringLiteral("old.xml"))), oldXml);
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
