#include "../testfiles.h"
#include "config/cfgkeys.h"
#include "config/cfgstore.h"
#include "config/cfgwriter.h"
#include "run/logger.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

class Recorder : public Logsink {
public:
    void appendLine(const QString& line) override { lines.append(line); }
    QStringList lines;
};

} // namespace

class TestCfgfile : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    Recorder m_window;

    QString writeFile(const QString& name, const QByteArray& content)
    {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
            return QString();
        return path;
    }

    // Reads content as the configuration file.
    int readText(const QByteArray& content)
    {
        Cfgstore::instance().setPath(writeFile(QStringLiteral("cfg.xml"), content));
        return Cfgstore::instance().readcfg();
    }

    QStringList errorLines() const { return m_window.lines.filter(QStringLiteral("  Error\n")); }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(Logger::instance().attachWindow(&m_window));
    }

    void init()
    {
        Cfgstore::instance().clear();
        Logger::instance().setState(0);
        m_window.lines.clear();
    }

    void unreadableFile()
    {
        Cfgstore::instance().setPath(m_dir.filePath(QStringLiteral("nowhere.xml")));
        QCOMPARE(Cfgstore::instance().readcfg(), -1015);
        QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("nowhere.xml"))));
        const QString path = m_dir.filePath(QStringLiteral("adirectory"));
        QVERIFY(QDir().mkpath(path));
        Cfgstore::instance().setPath(path);
        QCOMPARE(Cfgstore::instance().readcfg(), -1020);
    }

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
        store.setParameter(QStringLiteral("kept"), QStringLiteral("yes"));
        store.setExcluded({ QStringLiteral("e") });
        store.insertAnchor({ QStringLiteral("item"), QStringLiteral("id"), false, false });

        QCOMPARE(readText(content), code);

        QVERIFY(store.getBool(QStringLiteral("kept")));
        QCOMPARE(store.excluded(), QStringList { QStringLiteral("e") });
        QVERIFY(store.anchor(QStringLiteral("item")));
    }

    void parametersByPosition()
    {
        Cfgstore& store = Cfgstore::instance();
        store.setParameter(QStringLiteral("stale"), QStringLiteral("1"));
        store.insertAnchor({ QStringLiteral("old"), QStringLiteral("id"), false, false });
        const QByteArray content = "<root><block>"
                                   "<txt_minsubstr>4</txt_minsubstr>"
                                   "<!-- note -->"
                                   "<logdir/>"
                                   "<addname_result>_a</addname_result>"
                                   "<addname_result>_b</addname_result>"
                                   "<my_own_key>value &amp; more</my_own_key>"
                                   "</block></root>";
        QCOMPARE(readText(content), 0);

        QCOMPARE(store.getInt(QStringLiteral("txt_minsubstr")), 4);
        QVERIFY(store.parameters().contains(QStringLiteral("#comment")));
        QCOMPARE(store.getString(QStringLiteral("#comment")), QString());
        QVERIFY(store.parameters().contains(QStringLiteral("logdir")));
        QCOMPARE(store.getInt(QStringLiteral("logdir")), 0);
        QCOMPARE(store.getString(QStringLiteral("addname_result")), QStringLiteral("_b"));
        QCOMPARE(store.getString(QStringLiteral("my_own_key")), QStringLiteral("value & more"));
        QVERIFY(!store.parameters().contains(QStringLiteral("stale")));
        QVERIFY(store.anchors().isEmpty());
        QVERIFY(store.excluded().isEmpty());
        QVERIFY(errorLines().isEmpty());
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

    void anchorElements()
    {
        const QByteArray content
            = "<zov_cfg><parameters><a>1</a></parameters><anchors>"
              "<zovanchor name=\"item\" absolute=\"yes\" normalize-spaces=\"no\">"
              "<path>id</path></zovanchor>"
              "<zovanchor name=\"nopath\" absolute=\"yes\"/>"
              "<zovanchor name=\"emptypath\"><path/></zovanchor>"
              "<other name=\"caps\" absolute=\"Yes\" normalize-spaces=\"true\"><p>x/@k</p></other>"
              "<zovanchor absolute=\"no\" normalize-spaces=\"yes\"><path>unnamed</path></zovanchor>"
              "<zovanchor name=\"item\" normalize-spaces=\"yes\"><path>code</path></zovanchor>"
              "</anchors><ignored><x>1</x></ignored></zov_cfg>";
        QCOMPARE(readText(content), 0);

        const Cfgstore& store = Cfgstore::instance();
        QCOMPARE(store.anchors().size(), 3);
        const Anchor* item = store.anchor(QStringLiteral("item"));
        QVERIFY(item);
        QCOMPARE(item->path, QStringLiteral("code"));
        QVERIFY(!item->absolute);
        QVERIFY(item->normalizeSpaces);
        const Anchor* caps = store.anchor(QStringLiteral("caps"));
        QVERIFY(caps);
        QCOMPARE(caps->path, QStringLiteral("x/@k"));
        QVERIFY(!caps->absolute);
        QVERIFY(!caps->normalizeSpaces);
        const Anchor* unnamed = store.anchor(QString());
        QVERIFY(unnamed);
        QCOMPARE(unnamed->path, QStringLiteral("unnamed"));
        QVERIFY(!store.anchor(QStringLiteral("nopath")));
        QVERIFY(!store.anchor(QStringLiteral("emptypath")));

        const QStringList errors = errorLines();
        QCOMPARE(errors.size(), 2);
        for (const QString& line : errors)
            QVERIFY(
                line.endsWith(QLatin1String("  Invalid anchor element in config file.  Error\n")));
    }

    void anchorBlockWithoutChildren()
    {
        QCOMPARE(readText("<c><p><a>1</a></p><anchors/></c>"), 0);
        QVERIFY(Cfgstore::instance().anchors().isEmpty());
        QVERIFY(m_window.lines.isEmpty());
    }

    void writtenText()
    {
        const QStringList values = builtinValues({ { "logdir", "a&b<c>\"d\"" } });
        const QList<Anchor> anchors { { QStringLiteral("n\"&<"), QStringLiteral("p/@q&<\""), true,
            false } };
        const QString text = configFileText(values, anchors);

        QVERIFY(!text.contains(QLatin1Char('\r')));
        const QStringList lines = text.split(QLatin1Char('\n'));
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
        for (const char* key : { "addname_result", "txtinsstart", "element_added" })
            values[cfgKeyIndex(QLatin1String(key))] = special + QLatin1String(key);
        values[cfgKeyIndex(QStringLiteral("logdir"))] = special;
        const QList<Anchor> anchors {
            { special, special + QStringLiteral("/@id"), true, false },
            { QStringLiteral("third"), special, true, true },
            { QStringLiteral("second"), QStringLiteral("a/b"), false, true },
        };
        const QString path = m_dir.filePath(QStringLiteral("saved.xml"));
        QCOMPARE(writeConfigFile(path, values, anchors), 0);

        Cfgstore& store = Cfgstore::instance();
        store.setPath(path);
        QCOMPARE(store.readcfg(), 0);
        QCOMPARE(store.parameters().size(), 48);
        for (int i = 0; i < 48; ++i)
            QCOMPARE(store.getString(QLatin1String(cfgKeys().at(i).key)), values.at(i));
        QCOMPARE(store.anchors().size(), 3);
        for (const Anchor& expected : anchors) {
            const Anchor* read = store.anchor(expected.name);
            QVERIFY(read);
            QCOMPARE(read->path, expected.path);
            QCOMPARE(read->absolute, expected.absolute);
            QCOMPARE(read->normalizeSpaces, expected.normalizeSpaces);
        }
        QVERIFY(errorLines().isEmpty());
    }

    void saveReplacesTheFile()
    {
        const QString path = writeFile(QStringLiteral("replace.xml"), "old content");
        QCOMPARE(writeConfigFile(path, builtinValues(), {}), 0);
        QCOMPARE(QString::fromUtf8(readTextFile(path)), configFileText(builtinValues(), {}));
        QCOMPARE(
            QDir(m_dir.path()).entryList({ QStringLiteral("replace.xml*") }, QDir::Files).size(),
            1);
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

QTEST_GUILESS_MAIN(TestCfgfile)
#include "tst_cfgfile.moc"
