// Hostile and broken input through the command-line front end: every case ends with a clear
// message and exit status 2 (or, for the encodings, a correct result), never a crash, a hang, a
// partial result file or a changed input.
#include "../testfiles.h"
#include "clirun.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>
#include <unistd.h>

namespace {

QByteArray utf16(const QString& text, bool littleEndian, bool bom)
{
    QStringEncoder encoder(littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE,
        bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

QByteArray digest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

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

    // The files of the working folder except the log, which every run recreates.
    QStringList filesBesideLog() const
    {
        QStringList names = QDir(m_dir.path()).entryList(QDir::Files);
        names.removeAll(QStringLiteral("zov_log.txt"));
        return names;
    }

    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        // Built-in settings, no log file: every case runs the same way.
        QVERIFY(!write(QStringLiteral("old.xml"), kOld).isEmpty());
    }

    void refused_data()
    {
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QString>("message");

        QTest::newRow("empty file") << QByteArray() << "Error while parsing XML file";
        QTest::newRow("binary garbage") << QByteArray("\x00\x01\xfe\xff\x89PNG\r\n\x1a\n\x00\x00",
            14) << "Error while parsing XML file";
        QTest::newRow("truncated document")
            << QByteArray("<doc><item>new</item><item>") << "Error while parsing XML file";
        QTest::newRow("undeclared prefix")
            << QByteArray("<doc><x:item>new</x:item></doc>") << "Error while parsing XML file";
        QTest::newRow("unknown encoding")
            << QByteArray("<?xml version=\"1.0\" encoding=\"no-such-enc\"?><doc/>")
            << "Error while parsing XML file";
        QTest::newRow("declares UTF-8, holds EUC-KR")
            << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?><doc>\xc7\xd1\xb1\xdb</doc>")
            << "Error while parsing XML file";
        QByteArray bomb = "<?xml version=\"1.0\"?><!DOCTYPE l [<!ENTITY a \"aaaaaaaaaa\">";
        for (char c = 'b'; c <= 'j'; ++c)
            bomb += QByteArray("<!ENTITY ") + c + " \""
                + (QByteArray("&") + char(c - 1) + ";").repeated(5) + "\">";
        bomb += "]><l>&j;</l>";
        QTest::newRow("entity expansion bomb") << bomb << "Error while parsing XML file";
    }

    void refused()
    {
        QFETCH(QByteArray, second);
        QFETCH(QString, message);
        const QString newPath = write(QStringLiteral("new.xml"), second);
        const QString resultPath = m_dir.filePath(QStringLiteral("new_zov.xml"));
        QFile::remove(resultPath);
        const QByteArray before = digest(newPath);

        const Clirun run = cli({ QStringLiteral("old.xml"), QStringLiteral("new.xml") });
        QVERIFY(!run.crashed);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
        QVERIFY(run.err.contains("new.xml"));
        QVERIFY(!QFileInfo::exists(resultPath));
        QCOMPARE(digest(newPath), before);
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

    void badFiles_data()
    {
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing file") << "nothere.xml"
                                      << "File not found: nothere.xml (-1015)";
        QTest::newRow("a directory") << "adir"
                                     << "adir";
        QTest::newRow("unreadable file") << "secret.xml"
                                         << "secret.xml";
        // Opens, but every read fails, for root too.
        QTest::newRow("file whose reading fails")
            << "/proc/self/mem"
            << "Error while parsing XML file /proc/self/mem: The file could not be read";
    }

    void badFiles()
    {
        QFETCH(QString, second);
        QFETCH(QString, message);
        QDir(m_dir.path()).mkpath(QStringLiteral("adir"));
        const QString secret = write(QStringLiteral("secret.xml"), "<doc/>");
        QFile::setPermissions(secret, QFileDevice::Permissions());
        if (second == QLatin1String("secret.xml") && ::geteuid() == 0)
            QSKIP("root reads files without read permission");

        const QByteArray before = digest(m_dir.filePath(QStringLiteral("old.xml")));
        const QStringList files = filesBesideLog();
        const Clirun run = cli({ QStringLiteral("old.xml"), second });
        QVERIFY(!run.crashed);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(message.toUtf8()), run.err.constData());
        QCOMPARE(filesBesideLog(), files);
        QCOMPARE(digest(m_dir.filePath(QStringLiteral("old.xml"))), before);
    }

    void externalEntityIsNotRead()
    {
        const QString secretPath = write(QStringLiteral("local-secret.txt"), "TOPSECRET");
        const QByteArray doc = "<?xml version=\"1.0\"?><!DOCTYPE doc [<!ENTITY e SYSTEM \"file://"
            + secretPath.toUtf8() + "\">]><doc><item>a&e;b</item></doc>";
        write(QStringLiteral("new.xml"), doc);
        const Clirun run = cli({ QStringLiteral("-o"), QStringLiteral("-"),
            QStringLiteral("old.xml"), QStringLiteral("new.xml") });
        QVERIFY(!run.crashed);
        QVERIFY(run.exitCode == 1 || run.exitCode == 2);
        QVERIFY(!run.out.contains("TOPSECRET"));
        QVERIFY(!run.err.contains("TOPSECRET"));
    }

    void encodings_data()
    {
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QString>("expected");

        const QString text = QStringLiteral("caf\u00e9 \u00fcber");
        const QString decl = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>");
        const QString body = QStringLiteral("<doc><item>%1</item></doc>").arg(text);
        QTest::newRow("UTF-16LE with BOM") << utf16(decl + body, true, true) << text;
        QTest::newRow("UTF-16BE with BOM") << utf16(decl + body, false, true) << text;
        QTest::newRow("UTF-16LE without BOM") << utf16(decl + body, true, false) << text;
        QTest::newRow("UTF-16BE without BOM") << utf16(decl + body, false, false) << text;
        QTest::newRow("ISO-8859-1") << QByteArray(
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><doc><item>caf\xe9 "
            "\xfc"
            "ber</item></doc>") << text;
        QTest::newRow("windows-1252") << QByteArray(
            "<?xml version=\"1.0\" encoding=\"windows-1252\"?><doc><item>\x80 "
            "caf\xe9</item></doc>") << QStringLiteral("\u20ac caf\u00e9");
        QTest::newRow("EUC-KR") << QByteArray(
            "<?xml version=\"1.0\" encoding=\"EUC-KR\"?><doc><item>\xc7\xd1\xb1\xdb"
            "</item></doc>") << QStringLiteral("\ud55c\uae00");
        QTest::newRow("ISO-2022-JP") << QByteArray(
            "<?xml version=\"1.0\" encoding=\"ISO-2022-JP\"?><doc><item>\x1b$B$3$s"
            "\x1b(B</item></doc>") << QStringLiteral("\u3053\u3093");
    }

    void encodings()
    {
        QFETCH(QByteArray, second);
        QFETCH(QString, expected);
        write(QStringLiteral("new.xml"), second);
        const QString resultPath = m_dir.filePath(QStringLiteral("result.xml"));
        QFile::remove(resultPath);

        const Clirun run = cli({ QStringLiteral("-o"), resultPath, QStringLiteral("old.xml"),
            QStringLiteral("new.xml") });
        QVERIFY(!run.crashed);
        QVERIFY2(run.exitCode == 1, run.err.constData());

        QFile result(resultPath);
        QVERIFY(result.open(QIODevice::ReadOnly));
        QXmlStreamReader reader(&result);
        QString characters;
        while (!reader.atEnd()) {
            if (reader.readNext() == QXmlStreamReader::Characters)
                characters += reader.text();
        }
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QVERIFY2(characters.contains(expected), qPrintable(characters));
    }

    void resultCannotBeWritten_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("result path is file 1") << "old.xml";
        QTest::newRow("result path is file 2") << "./new.xml";
        QTest::newRow("result folder missing") << "no/such/folder/result.xml";
        QTest::newRow("result folder is a file") << "old.xml/result.xml";
        QTest::newRow("result folder refuses files") << "/proc/result.xml";
    }

    void resultCannotBeWritten()
    {
        QFETCH(QString, target);
        write(QStringLiteral("new.xml"), "<doc><item>new</item></doc>");
        const QByteArray before = digest(m_dir.filePath(QStringLiteral("old.xml")));
        const QByteArray beforeNew = digest(m_dir.filePath(QStringLiteral("new.xml")));
        const QStringList files = filesBesideLog();
        const Clirun run = cli(
            { QStringLiteral("-o"), target, QStringLiteral("old.xml"), QStringLiteral("new.xml") });
        QVERIFY(!run.crashed);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(run.err.contains(target.toUtf8()), run.err.constData());
        QCOMPARE(digest(m_dir.filePath(QStringLiteral("old.xml"))), before);
        QCOMPARE(digest(m_dir.filePath(QStringLiteral("new.xml"))), beforeNew);
        QCOMPARE(filesBesideLog(), files);
    }

    void configurationFailures_data()
    {
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("code");
        QTest::newRow("missing") << QByteArray() << "-1015";
        QTest::newRow("not well-formed") << QByteArray("<zov_cfg><parameters>") << "-1055";
        QTest::newRow("bad structure") << QByteArray("<zov_cfg><!--x--><p/></zov_cfg>") << "-1115";
        QTest::newRow("a directory") << QByteArray("dir") << "-1020";
    }

    void configurationFailures()
    {
        QFETCH(QByteArray, config);
        QFETCH(QString, code);
        write(QStringLiteral("new.xml"), "<doc><item>new</item></doc>");
        QString path = m_dir.filePath(QStringLiteral("missing_cfg.xml"));
        if (config == "dir") {
            path = m_dir.filePath(QStringLiteral("cfgdir"));
            QDir(m_dir.path()).mkpath(QStringLiteral("cfgdir"));
        } else if (!config.isEmpty()) {
            path = write(QStringLiteral("bad_cfg.xml"), config);
        }
        QFile::remove(m_dir.filePath(QStringLiteral("new_zov.xml")));
        const Clirun run = cli(
            { QStringLiteral("-cfg"), path, QStringLiteral("old.xml"), QStringLiteral("new.xml") });
        QVERIFY(!run.crashed);
        QCOMPARE(run.exitCode, 2);
        QVERIFY2(
            run.err.contains("Error while trying to read configuration file: " + code.toUtf8()),
            run.err.constData());
        QVERIFY(!QFileInfo::exists(m_dir.filePath(QStringLiteral("new_zov.xml"))));
    }
};

QTEST_GUILESS_MAIN(Tst_badinput)
#include "tst_badinput.moc"
