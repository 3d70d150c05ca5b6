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

    // "-cfg" names the file when a non-empty argument follows its first occurrence.
    void locate()
    {
        Cfgstore& store = Cfgstore::instance();
        const QString fallback = QDir::currentPath() + QDir::separator() + "zov_cfg.xml";
        QCOMPARE(store.locate({ "zov", "a.xml", "-cfg", "../my dir/c.xml" }), "../my dir/c.xml");
        QCOMPARE(store.cfgpath(), "../my dir/c.xml");
        QCOMPARE(store.locate({ "zov", "a.xml", "b.xml" }), fallback);
        QCOMPARE(store.locate({ "zov", "a.xml", "-cfg" }), fallback);
        QCOMPARE(store.locate({ "zov", "-cfg", "", "x.xml" }), fallback);
        QCOMPARE(store.locate({ "zov", "-cfg", "first.xml", "-cfg", "second.xml" }), "first.xml");
        store.setPath(QString());
        QCOMPARE(store.cfgpath(), fallback);
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
        QVERIFY(store.parameters().contains({ QStringLiteral("#comment") }));
        QVERIFY(store.parameters().contains({ QStringLiteral("logdir") }));
        QCOMPARE(store.getString(QStringLiteral("k")), QStringLiteral("v & w"));
        QVERIFY(store.anchors().isEmpty());
        QVERIFY(m_window.lines.isEmpty());
    }

    void exclusionList()
    {
        const Cfgstore& store = Cfgstore::instance();
        QCOMPARE(
            readText("<c><p><exclude_from_contentmode>a, b,,d </exclude_from_contentmode></p></c>"),
            0);
        QCOMPARE(store.excluded(), QStringList({ "a", "b", "", "d" }));
        QCOMPARE(readText("<c><p><exclude_from_contentmode/></p></c>"), 0);
        QCOMPARE(store.excluded(), QStringList { QString() });
        QCOMPARE(readText("<c><p><other>x</other></p></c>"), 0);
        QVERIFY(store.excluded().isEmpty());
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

    // The file as written, and read back: values and anchors with characters XML reserves, and
    // texts a reader would change (blanks only, line ends, "]]>").
    void roundTrip_data()
    {
        QTest::addColumn<QString>("special");
        QTest::newRow("markup") << "a&b<c>\"d\" it's";
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
        const QStringList values = builtinValues({ { "logdir", special } });
        const QList<Anchor> anchors { { special, special + "/@id", true, false },
            { "second", special, false, true } };
        const QString text = configFileText(values, anchors);
        const QStringList lines = text.split(QLatin1Char('\n'));
        if (QTest::currentDataTag() == QLatin1String("markup")) {
            QCOMPARE(lines.size(), 3 + 48 + 2 + 2 * 3 + 2 + 1);
            for (int i = 0; i < 48; ++i)
                QVERIFY(lines.at(3 + i).startsWith(QLatin1String("    <")
                    + QLatin1String(cfgKeys().at(i).key) + QLatin1Char('>')));
            QCOMPARE(lines.at(9), "    <logdir>a&amp;b&lt;c>\"d\" it's</logdir>");
            QCOMPARE(lines.at(53),
                "    <zovanchor name=\"a&amp;b&lt;c>&quot;d&quot; it's\" absolute=\"yes\" "
                "normalize-spaces=\"no\">");
            QCOMPARE(lines.at(54), "      <path>a&amp;b&lt;c>\"d\" it's/@id</path>");
        }
        QCOMPARE(readText(text.toUtf8()), 0);
        Cfgstore& store = Cfgstore::instance();
        for (int i = 0; i < 48; ++i)
            QCOMPARE(store.getString(QLatin1String(cfgKeys().at(i).key)), values.at(i));
        QCOMPARE(store.anchor(special)->logForm(), anchors.at(0).logForm());
        QCOMPARE(store.anchor("second")->logForm(), anchors.at(1).logForm());
    }

    void failedSaveIsLogged()
    {
        const QString path = m_dir.filePath(QStringLiteral("no/such/dir/zov_cfg.xml"));
        QCOMPARE(writeConfigFile(path, builtinValues(), {}), -1020);
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(m_window.lines.size(), 1);
        QVERIFY(m_window.lines.first().endsWith(
            "  Error while trying to open configuration file " + path + "  Error\n"));
    }
};

QTEST_GUILESS_MAIN(Tst_cfgstore)
#include "tst_cfgstore.moc"
