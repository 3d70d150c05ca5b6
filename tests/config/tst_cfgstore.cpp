#include "../testfiles.h"
#include "config/cfgkeys.h"
#include "config/cfgstore.h"
#include "config/cfgwriter.h"
#include "run/logger.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class Recorder : public Logsink {
public:
    void appendLine(const QString& line) override { lines.append(line); }
    QStringList lines;
};

} // namespace

// The parameter store, its anchors and the configuration file's text; reading errors and
// parameters as a run sees them are pinned by the config-* and cfg-* case folders.
class Tst_cfgstore : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    Recorder m_window;

    int readText(const QByteArray& content)
    {
        const QString path = m_dir.filePath(QStringLiteral("cfg.xml"));
        if (!writeTextFile(path, content))
            return 1;
        Cfgstore::instance().setPath(path);
        return Cfgstore::instance().readcfg();
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(Logger::instance().attachWindow(&m_window)); }

    void init()
    {
        Cfgstore::instance().clear();
        Cfgstore::instance().setPath(QString());
        Logger::instance().setState(0);
        m_window.lines.clear();
    }

    void typedValues_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("truth");
        QTest::addColumn<int>("number");
        const auto row = [](const char* value, bool truth, int number) {
            QTest::newRow(value) << QString(value) << truth << number;
        };
        row("true", true, 0);
        row("1", true, 1);
        row("yes", true, 0);
        row("TRUE", false, 0);
        row(" true", false, 0);
        row("no", false, 0);
        row("0", false, 0);
        row("", false, 0);
        row("-7", false, -7);
        row("010", false, 10);
        row("0x10", false, 0);
        row("1.5", false, 0);
    }

    void typedValues()
    {
        QFETCH(QString, value);
        QFETCH(bool, truth);
        QFETCH(int, number);
        Cfgstore& store = Cfgstore::instance();
        store.setParameter(QStringLiteral("key"), value);
        QCOMPARE(store.getBool(QStringLiteral("key")), truth);
        QCOMPARE(store.getInt(QStringLiteral("key")), number);
        QCOMPARE(store.getString(QStringLiteral("key")), value);
    }

    void absentKeysAreNotCreatedByReading()
    {
        Cfgstore& store = Cfgstore::instance();
        QCOMPARE(store.getString(QStringLiteral("missing")), QString());
        QCOMPARE(store.getInt(QStringLiteral("missing")), 0);
        QVERIFY(!store.getBool(QStringLiteral("missing")));
        QVERIFY(store.parameters().isEmpty());
    }

    void anchorTable()
    {
        Cfgstore& store = Cfgstore::instance();
        store.insertAnchor({ QStringLiteral("item"), QStringLiteral("id"), true, false });
        store.insertAnchor({ QStringLiteral("row"), QStringLiteral("@key"), false, true });
        store.insertAnchor({ QStringLiteral("item"), QStringLiteral("code"), false, false });
        QCOMPARE(store.anchors().size(), 2);
        QCOMPARE(
            store.anchor(QStringLiteral("item"))->logForm(), QStringLiteral("item code no no"));
        store.replaceAnchor(QStringLiteral("item"), QStringLiteral("a/b"), true, true);
        QCOMPARE(
            store.anchor(QStringLiteral("item"))->logForm(), QStringLiteral("item a/b yes yes"));
        QCOMPARE(store.anchor(QStringLiteral("row"))->logForm(), QStringLiteral("row @key no yes"));
        store.replaceAnchor(QStringLiteral("fresh"), QStringLiteral("p"), false, false);
        store.removeAnchor(QStringLiteral("unknown"));
        QCOMPARE(store.anchors().size(), 3);
        store.removeAnchor(QStringLiteral("item"));
        QVERIFY(!store.anchor(QStringLiteral("item")));
        QCOMPARE(store.anchors().size(), 2);
    }

    void locate_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        QTest::newRow("no flag") << QStringList { "zov", "a.xml", "b.xml" } << QString();
        QTest::newRow("flag with path")
            << QStringList { "zov", "a.xml", "b.xml", "-cfg", "my.xml" } << "my.xml";
        QTest::newRow("flag at the end") << QStringList { "zov", "a.xml", "-cfg" } << QString();
        QTest::newRow("flag with empty argument")
            << QStringList { "zov", "-cfg", "", "x.xml" } << QString();
        QTest::newRow("second flag ignored")
            << QStringList { "zov", "-cfg", "first.xml", "-cfg", "second.xml" } << "first.xml";
        QTest::newRow("path taken unchanged")
            << QStringList { "zov", "-cfg", "../cfg dir/z.xml" } << "../cfg dir/z.xml";
    }

    void locate()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        if (expected.isEmpty())
            expected = QDir::currentPath() + QDir::separator() + QStringLiteral("zov_cfg.xml");
        Cfgstore::instance().setPath(QStringLiteral("stale.xml"));
        QCOMPARE(Cfgstore::instance().locate(arguments), expected);
        QCOMPARE(Cfgstore::instance().cfgpath(), expected);
    }

    // A file that fails to read leaves the store as it was.
    void badContent_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("code");
        QTest::newRow("empty file") << QByteArray() << -1055;
        QTest::newRow("not well-formed") << QByteArray("<zov_cfg><parameters></zov_cfg>") << -1055;
        QTest::newRow("document element without children") << QByteArray("<zov_cfg/>") << -1115;
        QTest::newRow("only blanks inside") << QByteArray("<zov_cfg>\n   \n</zov_cfg>") << -1115;
        QTest::newRow("empty parameter block")
            << QByteArray("<zov_cfg><parameters/><anchors/></zov_cfg>") << -1115;
        QTest::newRow("comment before the parameter block")
            << QByteArray("<zov_cfg><!-- c --><parameters><a>1</a></parameters></zov_cfg>")
            << -1115;
    }

    void badContent()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, code);
        Cfgstore& store = Cfgstore::instance();
        store.setParameter(QStringLiteral("exclude_from_contentmode"), QStringLiteral("e"));
        store.insertAnchor({ QStringLiteral("item"), QStringLiteral("id"), false, false });
        QCOMPARE(readText(content), code);
        QCOMPARE(store.excluded(), QStringList { QStringLiteral("e") });
        QVERIFY(store.anchor(QStringLiteral("item")));
    }

    void parametersReplaceTheStore()
    {
        Cfgstore& store = Cfgstore::instance();
        store.setParameter(QStringLiteral("stale"), QStringLiteral("1"));
        store.insertAnchor({ QStringLiteral("old"), QStringLiteral("id"), false, false });
        QCOMPARE(readText("<c><p><!-- note --><logdir/><k>v &amp; w</k></p><anchors/></c>"), 0);
        QCOMPARE(store.parameters().size(), 3);
        QVERIFY(store.parameters().contains(QStringLiteral("#comment")));
        QVERIFY(store.parameters().contains(QStringLiteral("logdir")));
        QCOMPARE(store.getString(QStringLiteral("k")), QStringLiteral("v & w"));
        QVERIFY(store.anchors().isEmpty());
        QVERIFY(m_window.lines.isEmpty());
    }

    void exclusionList_data()
    {
        QTest::addColumn<QByteArray>("element");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("four parts, blank and empty")
            << QByteArray("<exclude_from_contentmode>a, b,,d </exclude_from_contentmode>")
            << QStringList { "a", "b", "", "d" };
        QTest::newRow("empty value gives one empty entry")
            << QByteArray("<exclude_from_contentmode/>") << QStringList { "" };
        QTest::newRow("missing key gives nothing")
            << QByteArray("<other>x</other>") << QStringList();
    }

    void exclusionList()
    {
        QFETCH(QByteArray, element);
        QFETCH(QStringList, expected);
        QCOMPARE(readText("<c><p>" + element + "</p></c>"), 0);
        QCOMPARE(Cfgstore::instance().excluded(), expected);
    }

    // Anchors are read by position too: any child whose first child has content.
    void anchorElements()
    {
        QCOMPARE(
            readText(
                "<zov_cfg><parameters><a>1</a></parameters><anchors>"
                "<zovanchor name=\"item\" absolute=\"yes\"><path>id</path></zovanchor>"
                "<zovanchor name=\"nopath\" absolute=\"yes\"/>"
                "<zovanchor name=\"emptypath\"><path/></zovanchor>"
                "<other name=\"caps\" absolute=\"Yes\" normalize-spaces=\"true\">"
                "<p>x/@k</p></other>"
                "<zovanchor absolute=\"no\" normalize-spaces=\"yes\"><path>u</path></zovanchor>"
                "<zovanchor name=\"item\" normalize-spaces=\"yes\"><path>code</path></zovanchor>"
                "</anchors><ignored><x>1</x></ignored></zov_cfg>"),
            0);
        QStringList forms;
        for (const Anchor& anchor : Cfgstore::instance().anchors())
            forms << anchor.logForm();
        forms.sort();
        QCOMPARE(forms, QStringList({ " u no yes", "caps x/@k no no", "item code no yes" }));
        QCOMPARE(
            m_window.lines.filter(QStringLiteral("Invalid anchor element in config file.  Error"))
                .size(),
            2);
    }

    void writtenText()
    {
        const QStringList values = builtinValues({ { "logdir", "a&b<c>\"d\"" } });
        const QList<Anchor> anchors { { QStringLiteral("n\"&<"), QStringLiteral("p/@q&<\""), true,
            false } };
        const QStringList lines = configFileText(values, anchors).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 48 + 7 + 3 + 1);
        QCOMPARE(lines.last(), QString());
        QCOMPARE(lines.at(9), QStringLiteral("    <logdir>a&amp;b&lt;c>\"d\"</logdir>"));
        QCOMPARE(lines.at(53),
            QStringLiteral("    <zovanchor name=\"n&quot;&amp;&lt;\" absolute=\"yes\" "
                           "normalize-spaces=\"no\">"));
        QCOMPARE(lines.at(54), QStringLiteral("      <path>p/@q&amp;&lt;\"</path>"));
        for (int i = 0; i < 48; ++i)
            QVERIFY(lines.at(3 + i).startsWith(
                QLatin1String("    <") + QLatin1String(cfgKeys().at(i).key) + QLatin1Char('>')));
    }

    void roundTrip_data()
    {
        QTest::addColumn<QString>("special");
        QTest::newRow("ampersand and less-than") << "a & b < c";
        QTest::newRow("double and single quotes") << "say \"hi\" it's";
        QTest::newRow("references as text") << "&amp; &lt; &#38;";
        QTest::newRow("cdata end") << "x]]>y";
        QTest::newRow("non-ascii") << QStringLiteral("Grüße – 日本");
        QTest::newRow("tab and carriage return") << "a\tb\rc";
        QTest::newRow("blanks only") << "  ";
        QTest::newRow("line feed only") << "\n";
    }

    void roundTrip()
    {
        QFETCH(QString, special);
        QStringList values = builtinValues();
        values[cfgKeyIndex(QStringLiteral("logdir"))] = special;
        values[cfgKeyIndex(QStringLiteral("txtinsstart"))] = special + QLatin1Char('x');
        const QList<Anchor> anchors {
            { special, special + QStringLiteral("/@id"), true, false },
            { QStringLiteral("second"), special, false, true },
        };
        const QString path = m_dir.filePath(QStringLiteral("saved.xml"));
        QCOMPARE(writeConfigFile(path, values, anchors), 0);
        Cfgstore& store = Cfgstore::instance();
        store.setPath(path);
        QCOMPARE(store.readcfg(), 0);
        QCOMPARE(store.parameters().size(), 48);
        for (int i = 0; i < 48; ++i)
            QCOMPARE(store.getString(QLatin1String(cfgKeys().at(i).key)), values.at(i));
        QStringList forms;
        for (const Anchor& anchor : store.anchors())
            forms << anchor.logForm();
        forms.sort();
        QStringList expected { anchors.at(0).logForm(), anchors.at(1).logForm() };
        expected.sort();
        QCOMPARE(forms, expected);
    }

    void failedSaveIsLogged_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("missing directory") << "no/such/dir/zov_cfg.xml";
        QTest::newRow("path is a directory") << "adirectory";
    }

    void failedSaveIsLogged()
    {
        QFETCH(QString, name);
        QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("adirectory"))));
        const QString path = m_dir.filePath(name);
        QCOMPARE(writeConfigFile(path, builtinValues(), {}), -1020);
        QVERIFY(!QFileInfo(path).isFile());
        QCOMPARE(m_window.lines.size(), 1);
        QVERIFY(m_window.lines.first().endsWith(
            QLatin1String("  Error while trying to open configuration file ") + path
            + QLatin1String("  Error\n")));
    }
};

QTEST_GUILESS_MAIN(Tst_cfgstore)
#include "tst_cfgstore.moc"
