// zov-cli runs that a case folder cannot check: the JSON report parsed field by field, the git
// driver under a real git diff, and folder mode over a tree of pairs.
#include "../testfiles.h"
#include "clirun.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

class Tst_cli : public QObject {
    Q_OBJECT

private:
    QString path(const QString& name) const { return m_dir->filePath(name); }
    void write(const QString& name, const QByteArray& bytes)
    {
        QVERIFY(QDir().mkpath(QFileInfo(path(name)).path()));
        QVERIFY(writeTextFile(path(name), bytes));
    }
    QStringList filesBelow(const QString& folder) const
    {
        QStringList names;
        QDirIterator it(path(folder), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            names << QDir(path(folder)).relativeFilePath(it.next());
        names.sort();
        return names;
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

    void jsonReport()
    {
        write(QStringLiteral("old.xml"),
            "<r><a>1</a><b/><c/><d k='1' gone='x'/><t>say \"hi\" \xc3\xbc</t></r>");
        write(QStringLiteral("new.xml"),
            "<r><b/><a>2</a><e/><d k='2' add='y'/><t>say \"bye\" \xc3\xbc</t></r>");
        const Clirun run = runCli(m_dir->path(),
            { "-q", "--report", "json", "--set", "writeresultfile=false", "old.xml", "new.xml" });
        QCOMPARE(run.exitCode, 1);
        QJsonParseError error;
        const QJsonObject report = QJsonDocument::fromJson(run.out, &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, run.out.constData());
        QCOMPARE(report.value("file_old").toString(), QStringLiteral("old.xml"));
        QCOMPARE(report.value("equal").toBool(true), false);
        QVERIFY(report.value("settings").toObject().contains("normalize_spaces"));
        const QJsonObject counts = report.value("counts").toObject();
        QCOMPARE(counts.value("position_change").toInt(), 1);
        QCOMPARE(counts.value("position_and_content_change").toInt(), 1);
        QCOMPARE(counts.value("moved").toInt(), 1);
        QCOMPARE(counts.value("shifted").toInt(), 1);
        QCOMPARE(counts.value("element_deleted").toInt(), 1);

        // The shifted <b> is counted, not listed; <a>'s move and its text are two places.
        const QJsonArray changes = report.value("changes").toArray();
        QStringList places;
        for (const QJsonValue& change : changes) {
            const QJsonObject c = change.toObject();
            places << c.value("kind").toString() + QLatin1Char(' ')
                    + c.value("path_old").toString(QStringLiteral("-")) + QLatin1Char(' ')
                    + c.value("path_new").toString(QStringLiteral("-"));
        }
        QCOMPARE(places,
            QStringList(
                { "position_and_content_change /r/a /r/a", "content_change /r/a/text() /r/a/text()",
                    "element_deleted /r/c -", "element_added - /r/e", "attribute_change /r/d /r/d",
                    "content_change /r/t/text() /r/t/text()" }));
        const QJsonObject moved = changes.at(0).toObject();
        QCOMPARE(moved.value("moved").toBool(), true);
        QCOMPARE(moved.value("shift").toInt(), 1);
        QCOMPARE(changes.at(1).toObject().value("text_old").toString(), QStringLiteral("1"));
        QStringList attributes;
        for (const QJsonValue& a : changes.at(4).toObject().value("attributes").toArray()) {
            const QJsonObject o = a.toObject();
            attributes << o.value("change").toString() + QLatin1Char(' ')
                    + o.value("name").toString() + QLatin1Char(' ')
                    + o.value("old").toString(QStringLiteral("-")) + QLatin1Char(' ')
                    + o.value("new").toString(QStringLiteral("-"));
        }
        attributes.sort();
        QCOMPARE(attributes, QStringList({ "added add - y", "changed k 1 2", "removed gone x -" }));
        QCOMPARE(changes.at(5).toObject().value("text_new").toString(),
            QStringLiteral("say \"bye\" \u00fc"));
    }

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

    void folders()
    {
        write(QStringLiteral("a/changed.xml"), "<r><x>1</x></r>");
        write(QStringLiteral("b/changed.xml"), "<r><x>2</x></r>");
        write(QStringLiteral("a/sub/equal.xml"), "<r/>");
        write(QStringLiteral("b/sub/equal.xml"), "<r/>");
        write(QStringLiteral("a/left.xml"), "<r/>");
        write(QStringLiteral("b/right.xml"), "<r/>");
        write(QStringLiteral("a/broken.xml"), "<r>");
        write(QStringLiteral("b/broken.xml"), "<r/>");
        write(QStringLiteral("b/notes.txt"), "not compared");
        const QStringList left = filesBelow(QStringLiteral("a"));
        const QStringList right = filesBelow(QStringLiteral("b"));

        const Clirun run
            = runCli(m_dir->path(), { "--jobs", "3", "-o", "out", "--report", "text", "a", "b" });
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out,
            QByteArray("=== changed.xml\ncontent change: /r/x/text() \"1\" \xe2\x86\x92 \"2\"\n"
                       "=== left.xml: only in a\n=== right.xml: only in b\n"));
        QVERIFY2(run.err.contains("broken.xml: Error while parsing XML file a/broken.xml"),
            run.err.constData());
        QVERIFY2(run.err.contains("changed.xml: different (content change: 2)\n"
                                  "left.xml: only in a\nright.xml: only in b\n"
                                  "sub/equal.xml: equal\n5 files: 1 different, 1 equal, 1 "
                                  "failed, 1 only in a, 1 only in b\n"),
            run.err.constData());
        QCOMPARE(
            filesBelow(QStringLiteral("out")), QStringList({ "changed.xml", "sub/equal.xml" }));
        QCOMPARE(filesBelow(QStringLiteral("a")), left);
        QCOMPARE(filesBelow(QStringLiteral("b")), right);

        // Without the broken pair the rest decides: a difference and one-sided files give 1.
        QVERIFY(QFile::remove(path(QStringLiteral("a/broken.xml"))));
        QVERIFY(QFile::remove(path(QStringLiteral("b/broken.xml"))));
        QCOMPARE(runCli(m_dir->path(), { "-q", "a", "b" }).exitCode, 1);
    }
};

QTEST_GUILESS_MAIN(Tst_cli)
#include "tst_cli.moc"
