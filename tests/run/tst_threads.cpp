// The worker threads next to the thread that starts them: file 1 parsed while the caller parses
// file 2, a whole run's steps while the caller polls the step and logs, and the result written
// while the caller logs window lines, flushes and reads the trees the way the view does. Built with
// ThreadSanitizer by scripts/tsan.
#include "model/zovtree.h"
#include "output/markcount.h"
#include "run/diffscenario.h"
#include "run/logger.h"
#include "run/runthread.h"
#include "run/writethread.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

// A flat list of records, large enough that the two parses and the writer overlap the caller.
QByteArray records(int count, const char* text)
{
    QByteArray xml = "<?xml version=\"1.0\"?>\n<list>";
    for (int i = 0; i < count; ++i)
        xml += "<rec id=\"" + QByteArray::number(i) + "\"><name>n" + QByteArray::number(i)
            + "</name><v>" + text + "</v></rec>";
    return xml + "</list>\n";
}

int childCount(const Zovtree* tree)
{
    if (!tree || !tree->root() || !tree->root()->children())
        return -1;
    return int(tree->root()->children()->size());
}

// The number of elements named name in a document; -1 when it does not parse to its end.
int countElements(const QString& path, const QString& name)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    QXmlStreamReader reader(&file);
    int count = 0;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement && reader.name() == name)
            ++count;
    }
    return reader.hasError() ? -1 : count;
}

class Recorder : public Logsink {
public:
    void appendLine(const QString& line) override { lines.append(line); }
    QStringList lines;
};

const int recordCount = 20000;

} // namespace

class Tst_threads : public QObject {
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }

    void write(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    // Built-in settings (no configuration file), log file in the temporary folder.
    std::unique_ptr<Diffscenario> compared()
    {
        auto run = std::make_unique<Diffscenario>(m_arguments, false);
        run->setBuiltinFallback(true);
        if (run->init() != 0 || run->parseFiles() != 0 || run->compare() != 0)
            return nullptr;
        return run;
    }

    QStringList leftovers() const
    {
        QStringList names = QDir(m_dir->path()).entryList(QDir::Files);
        names.removeAll(QStringLiteral("old.xml"));
        names.removeAll(QStringLiteral("new.xml"));
        names.removeAll(QStringLiteral("zov_log.txt"));
        return names;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_startDir;
    QStringList m_arguments;

private Q_SLOTS:
    void initTestCase()
    {
        m_startDir = QDir::currentPath();
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        QVERIFY(QDir::setCurrent(m_dir->path()));
        m_arguments = QStringList { QStringLiteral("zov"), QStringLiteral("old.xml"),
            QStringLiteral("new.xml") };
    }

    void cleanupTestCase()
    {
        QDir::setCurrent(m_startDir);
        m_dir.reset();
    }

    void cleanup()
    {
        for (const QString& name : leftovers())
            QFile::remove(path(name));
    }

    void parseThreadBesideCallersParse_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("children1");
        QTest::addColumn<int>("children2");

        const QByteArray old = records(recordCount, "old");
        const QByteArray updated = records(recordCount + 1, "new");
        QByteArray broken = updated;
        broken.chop(9);
        QTest::newRow("both well-formed") << old << updated << 0 << recordCount << recordCount + 1;
        QTest::newRow("file 1 broken") << broken << old << -1055 << recordCount + 1 << recordCount;
        QTest::newRow("file 2 broken") << old << broken << -1055 << recordCount << recordCount + 1;
    }

    void parseThreadBesideCallersParse()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(int, code);
        QFETCH(int, children1);
        QFETCH(int, children2);
        write(QStringLiteral("old.xml"), first);
        write(QStringLiteral("new.xml"), second);

        Diffscenario run(m_arguments, false);
        run.setBuiltinFallback(true);
        QCOMPARE(run.init(), 0);
        QCOMPARE(run.parseFiles(), code);
        // A broken file keeps what was built before its error.
        QCOMPARE(childCount(run.tree1()), children1);
        QCOMPARE(childCount(run.tree2()), children2);
    }

    // Init, parse and compare on a run thread while the caller polls its step and logs, as the
    // window does; its window lines come from the worker, the caller's from the caller.
    void runThreadBesideCallersPolling()
    {
        write(QStringLiteral("old.xml"), records(recordCount, "old"));
        write(QStringLiteral("new.xml"), records(recordCount, "new"));
        Recorder window;
        QVERIFY(Logger::instance().attachWindow(&window));
        Diffscenario run(m_arguments, true);
        run.setBuiltinFallback(true);
        Runthread worker(&run);
        worker.start(QThread::InheritPriority);
        int lastStep = Runthread::Init;
        bool ordered = true;
        while (!worker.isFinished()) {
            const int step = worker.step();
            ordered = ordered && step >= lastStep;
            lastStep = step;
            Logger::instance().flush();
        }
        QVERIFY(worker.wait());
        Logger::instance().detachWindow(&window);
        QVERIFY(ordered);
        QCOMPARE(worker.result(), 0);
        QCOMPARE(worker.step(), Runthread::Done);
        QCOMPARE(childCount(run.tree1()), recordCount);
        QCOMPARE(childCount(run.resultTree()), recordCount * 2);
        QVERIFY(!window.lines.filter(QStringLiteral("Starting tree compare process")).isEmpty());
    }

    // The writer's file-only lines next to the caller's window lines, flushes and tree reads.
    void writerBesideWindowLinesAndFlushes()
    {
        write(QStringLiteral("old.xml"), records(recordCount, "old"));
        write(QStringLiteral("new.xml"), records(recordCount, "new"));
        const std::unique_ptr<Diffscenario> run = compared();
        QVERIFY(run);
        const QVector<int> marks = countMarks(run->resultTree()->root());
        Recorder window;
        QVERIFY(Logger::instance().attachWindow(&window));

        Writethread writer(run.get());
        writer.start(QThread::InheritPriority);
        int windowLines = 0;
        int changedReads = 0;
        do {
            Logger::instance().write(QStringLiteral("filling view"), Logger::Info,
                windowLines % 2 ? Logger::WindowOnly : Logger::FileAndWindow);
            Logger::instance().flush();
            changedReads += countMarks(run->resultTree()->root()) != marks;
            ++windowLines;
        } while (!writer.isFinished() || windowLines < 50);
        QVERIFY(writer.wait());
        Logger::instance().detachWindow(&window);
        run->closeLog();

        QCOMPARE(writer.result(), QString());
        QCOMPARE(changedReads, 0);
        QCOMPARE(marks.value(0), 0);
        QCOMPARE(
            countElements(path(QStringLiteral("new_zov.xml")), QStringLiteral("rec")), recordCount);
        QCOMPARE(window.lines.size(), windowLines);
        for (const QString& line : std::as_const(window.lines))
            QVERIFY2(line.endsWith(QLatin1String("  filling view  Info\n")), qPrintable(line));

        // Interleaving within a line is the logger's own test; here every view line arrives once.
        QFile log(path(QStringLiteral("zov_log.txt")));
        QVERIFY(log.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'));
        QCOMPARE(
            lines.filter(QStringLiteral("  filling view    Info")).size(), (windowLines + 1) / 2);
        QCOMPARE(lines.filter(QStringLiteral("Writing result file finished.")).size(), 1);
    }
};

QTEST_GUILESS_MAIN(Tst_threads)
#include "tst_threads.moc"
