// zov-cli runs that a case folder cannot hold: the git driver under a real git diff, and inputs of
// extreme size, which must end with a correct result, never a crash or a hang.
#include "clirun.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

class Tst_cli : public QObject {
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile file(path(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    // Runs git in the scratch folder; returns its exit code, -1 when it did not run.
    int git(const QStringList& arguments, QByteArray* out = nullptr, QByteArray* err = nullptr)
    {
        QProcess process;
        process.setWorkingDirectory(m_dir->path());
        process.start(QStringLiteral("git"), arguments);
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
            return -1;
        if (out)
            *out = process.readAllStandardOutput();
        if (err)
            *err = process.readAllStandardError();
        return process.exitCode();
    }

    std::unique_ptr<QTemporaryDir> m_dir;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }
    void cleanup() { m_dir.reset(); }

    void gitDriver()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("git")).isEmpty())
            QSKIP("git is not installed");
        QCOMPARE(git({ "init", "-q" }), 0);
        write(QStringLiteral(".gitattributes"), "*.xml diff=zov\n");
        QCOMPARE(git({ "config", "diff.zov.command", QStringLiteral(ZOV_CLI_PATH " --git") }), 0);
        write(QStringLiteral("cat.xml"), "<r><x>1</x></r>");
        write(QStringLiteral("gone.xml"), "<g/>");
        write(QStringLiteral("old name.xml"), "<r><y>renamed</y></r>");
        write(QStringLiteral("same.xml"), "<r><x/></r>");
        QCOMPARE(git({ "add", "." }), 0);
        QCOMPARE(git({ "-c", "user.name=t", "-c", "user.email=t@t", "commit", "-qm", "one" }), 0);
        write(QStringLiteral("cat.xml"), "<r><x>2</x></r>");
        write(QStringLiteral("same.xml"), "<r>\n  <x/>\n</r>\n");
        QVERIFY(QFile::remove(path(QStringLiteral("gone.xml"))));
        write(QStringLiteral("added.xml"), "<r/>");
        QCOMPARE(git({ "mv", "old name.xml", "new name.xml" }), 0);
        QCOMPARE(git({ "add", "-A" }), 0);

        QByteArray out;
        QByteArray err;
        QCOMPARE(git({ "diff", "--cached" }, &out, &err), 0);
        QCOMPARE(out,
            QByteArray("=== added.xml (new file)\n"
                       "=== cat.xml\n"
                       "content change: /r/x/text() \"1\" \xe2\x86\x92 \"2\"\n"
                       "=== gone.xml (deleted file)\n"
                       "=== old name.xml \xe2\x86\x92 new name.xml: equal under the current "
                       "settings\n"
                       "=== same.xml: equal under the current settings\n"));
        QVERIFY2(!QFile::exists(path(QStringLiteral("cat_zov.xml"))), err.constData());

        // A broken file is a failure git reports, not an empty diff.
        write(QStringLiteral("cat.xml"), "<r><x>");
        QVERIFY(git({ "diff" }, &out, &err) > 0);
        QVERIFY2(err.contains("cat.xml"), err.constData());
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
        write(QStringLiteral("old.xml"), "<?xml version=\"1.0\"?>\n<doc><item>old</item></doc>\n");
        write(QStringLiteral("new.xml"), second);
        const Clirun run
            = runCli(m_dir->path(), { "-o", "result.xml", "old.xml", "new.xml" }, 280000);
        QVERIFY(!run.crashed);
        QVERIFY2(run.exitCode == 1, run.err.constData());

        QFile result(path(QStringLiteral("result.xml")));
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
        write(QStringLiteral("old.xml"), "<doc><t>" + oldText + "</t></doc>");
        write(QStringLiteral("new.xml"), "<doc><t>" + newText + "</t></doc>");
        const Clirun run = runCli(m_dir->path(),
            { "--set", "do_txtdiff=true", "--set", "write_log=false", "-o", "result.xml", "old.xml",
                "new.xml" });
        QVERIFY(!run.crashed);
        QVERIFY2(run.exitCode == 1, run.err.constData());
        QFile result(path(QStringLiteral("result.xml")));
        QVERIFY(result.open(QIODevice::ReadOnly));
        const QByteArray written = result.readAll();
        QVERIFY(written.contains("[-]" + oldText.left(1000)));
        QVERIFY(written.contains("[+]" + newText.left(1000)));
    }
};

QTEST_GUILESS_MAIN(Tst_cli)
#include "tst_cli.moc"
