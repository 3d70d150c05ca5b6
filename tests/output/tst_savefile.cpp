#include "../testfiles.h"
#include "output/savefile.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <unistd.h>

namespace {

// A folder that refuses new files but holds one writable file; open again on destruction so
// the temporary directory can go.
struct Lockedfolder {
    QTemporaryDir dir;
    QString file;

    explicit Lockedfolder(const QByteArray* contents)
        : file(dir.filePath(QStringLiteral("held.xml")))
    {
        if (contents)
            writeTextFile(file, *contents);
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);
    }
    ~Lockedfolder()
    {
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    QStringList entries() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
};

} // namespace

// Saving into a folder that refuses temporary files, as an unprivileged user: permissions do
// not bind root, so main runs the test again under the nobody user when it can.
class Tst_savefile : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (geteuid() == 0)
            QSKIP("running as root, and setpriv could not drop the privileges");
    }

    void lockedFolder_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QString>("failure");
        QTest::addColumn<int>("result");
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("existing file written in place")
            << true << QString() << int(Saveresult::Saved) << QByteArray("new");
        QTest::newRow("failure in place puts the earlier file back")
            << true << QStringLiteral("disk full") << int(Saveresult::WriteFailed)
            << QByteArray("old");
        QTest::newRow("no file to write in place")
            << false << QString() << int(Saveresult::OpenFailed) << QByteArray();
    }

    void lockedFolder()
    {
        QFETCH(bool, exists);
        QFETCH(QString, failure);
        QFETCH(int, result);
        QFETCH(QByteArray, contents);
        const QByteArray old("old");
        const Lockedfolder folder(exists ? &old : nullptr);
        QString reason;
        const Saveresult saved = saveWhole(
            folder.file,
            [&failure](QIODevice* device) {
                device->write("new");
                return failure;
            },
            &reason);
        QCOMPARE(int(saved), result);
        QCOMPARE(readTextFile(folder.file), contents);
        QCOMPARE(
            folder.entries(), exists ? QStringList { QStringLiteral("held.xml") } : QStringList());
        QCOMPARE(reason.isEmpty(), saved == Saveresult::Saved);
    }

    // Files larger than a write-ahead step, written in pieces that do not divide it.
    void largeFile_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("saved whole") << QString();
        QTest::newRow("failure keeps the earlier file") << QStringLiteral("disk full");
    }

    void largeFile()
    {
        QFETCH(QString, failure);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("big.xml"));
        QVERIFY(writeTextFile(path, "old"));
        QByteArray expected;
        for (int k = 0; expected.size() < (qsizetype(20) << 20); ++k)
            expected += QByteArray::number(k).repeated(9000 + k % 7);
        QString reason;
        const Saveresult saved = saveWhole(
            path,
            [&](QIODevice* device) {
                for (qsizetype at = 0; at < expected.size(); at += 65537)
                    device->write(expected.mid(at, 65537));
                return failure;
            },
            &reason);
        QCOMPARE(int(saved), int(failure.isEmpty() ? Saveresult::Saved : Saveresult::WriteFailed));
        QCOMPARE(readTextFile(path), failure.isEmpty() ? expected : QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
            QStringList { QStringLiteral("big.xml") });
    }

    // Both writers of whole files go through the fallback.
    void writersSaveInPlace()
    {
        const QByteArray old("<old/>");
        const Lockedfolder folder(&old);
        QCOMPARE(writeConfigFile(folder.file, builtinValues(), {}), 0);
        QCOMPARE(readTextFile(folder.file), configFileText(builtinValues(), {}).toUtf8());

        QTemporaryDir work;
        QVERIFY(writeTextFile(work.filePath(QStringLiteral("a.xml")), "<r><x>1</x></r>"));
        QVERIFY(writeTextFile(work.filePath(QStringLiteral("b.xml")), "<r><x>2</x></r>"));
        QProcess cli;
        cli.setWorkingDirectory(work.path());
        cli.start(QStringLiteral(ZOV_CLI_PATH), { "-q", "-o", folder.file, "a.xml", "b.xml" });
        QVERIFY(cli.waitForFinished(60000));
        QCOMPARE(cli.exitCode(), 1);
        QVERIFY(readTextFile(folder.file).contains("<?ZOV content change?>2</x>"));
    }
};

// Whether any user can reach and run the program at path.
bool runnableByAll(const QString& path)
{
    for (QFileInfo info(path); !info.isRoot(); info = QFileInfo(info.absolutePath())) {
        if (!(info.permissions() & QFile::ExeOther))
            return false;
    }
    return true;
}

int main(int argc, char* argv[])
{
    if (geteuid() == 0 && !qEnvironmentVariableIsSet("ZOV_PRIVILEGES_DROPPED")
        && runnableByAll(QString::fromLocal8Bit(argv[0]))
        && runnableByAll(QStringLiteral(ZOV_CLI_PATH))) {
        std::vector<char*> args { const_cast<char*>("setpriv"), const_cast<char*>("--reuid=65534"),
            const_cast<char*>("--regid=65534"), const_cast<char*>("--clear-groups"),
            const_cast<char*>("env"), const_cast<char*>("ZOV_PRIVILEGES_DROPPED=1") };
        args.insert(args.end(), argv, argv + argc);
        args.push_back(nullptr);
        execvp("setpriv", args.data());
        // Only reached when setpriv could not run: the checks skip with a reason.
    }
    QCoreApplication app(argc, argv);
    Tst_savefile test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savefile.moc"
