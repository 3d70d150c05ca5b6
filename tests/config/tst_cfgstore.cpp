#include "config/cfgstore.h"

#include <QDir>
#include <QtTest>

class TestCfgstore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        Cfgstore::instance().clear();
        Cfgstore::instance().setPath(QString());
    }

    void truthValues_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("expected");

        QTest::newRow("true") << "true" << true;
        QTest::newRow("one") << "1" << true;
        QTest::newRow("yes") << "yes" << true;
        QTest::newRow("upper case TRUE") << "TRUE" << false;
        QTest::newRow("leading blank") << " true" << false;
        QTest::newRow("false") << "false" << false;
        QTest::newRow("empty") << "" << false;
    }

    void truthValues()
    {
        QFETCH(QString, value);
        QFETCH(bool, expected);
        Cfgstore::instance().setParameter(QStringLiteral("flag"), value);
        QCOMPARE(Cfgstore::instance().getBool(QStringLiteral("flag")), expected);
    }

    void integers_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("expected");

        QTest::newRow("plain") << "42" << 42;
        QTest::newRow("negative") << "-7" << -7;
        QTest::newRow("leading zero is still decimal") << "010" << 10;
        QTest::newRow("hex is not decimal") << "0x10" << 0;
        QTest::newRow("fraction") << "1.5" << 0;
    }

    void integers()
    {
        QFETCH(QString, value);
        QFETCH(int, expected);
        Cfgstore::instance().setParameter(QStringLiteral("number"), value);
        QCOMPARE(Cfgstore::instance().getInt(QStringLiteral("number")), expected);
    }

    void absentKeysAreNotCreatedByReading()
    {
        Cfgstore& store = Cfgstore::instance();
        QCOMPARE(store.getString(QStringLiteral("missing")), QString());
        QCOMPARE(store.getInt(QStringLiteral("missing")), 0);
        QVERIFY(!store.getBool(QStringLiteral("missing")));
        QVERIFY(store.parameters().isEmpty());
    }

    void savemodeReadBothWays()
    {
        Cfgstore& store = Cfgstore::instance();
        store.setParameter(QStringLiteral("savemode"), QStringLiteral("true"));
        QVERIFY(store.getBool(QStringLiteral("savemode")));
        QCOMPARE(store.getInt(QStringLiteral("savemode")), 0);
        store.setParameter(QStringLiteral("savemode"), QStringLiteral("1"));
        QVERIFY(store.getBool(QStringLiteral("savemode")));
        QCOMPARE(store.getInt(QStringLiteral("savemode")), 1);
    }

    void anchorTable()
    {
        Cfgstore& store = Cfgstore::instance();
        QVERIFY(!store.anchor(QStringLiteral("item")));
        store.insertAnchor({ QStringLiteral("item"), QStringLiteral("id"), true, false });
        store.insertAnchor({ QStringLiteral("row"), QStringLiteral("@key"), false, true });
        QCOMPARE(store.anchors().size(), 2);
        QCOMPARE(store.anchor(QStringLiteral("row"))->path, QStringLiteral("@key"));

        store.insertAnchor({ QStringLiteral("item"), QStringLiteral("code"), false, false });
        QCOMPARE(store.anchors().size(), 2);
        QCOMPARE(store.anchor(QStringLiteral("item"))->path, QStringLiteral("code"));
        QVERIFY(!store.anchor(QStringLiteral("item"))->absolute);

        store.replaceAnchor(QStringLiteral("item"), QStringLiteral("a/b"), true, true);
        const Anchor* item = store.anchor(QStringLiteral("item"));
        QVERIFY(item);
        QCOMPARE(item->name, QStringLiteral("item"));
        QCOMPARE(item->path, QStringLiteral("a/b"));
        QVERIFY(item->absolute && item->normalizeSpaces);

        store.replaceAnchor(QStringLiteral("fresh"), QStringLiteral("p"), false, false);
        QCOMPARE(store.anchors().size(), 3);

        store.removeAnchor(QStringLiteral("unknown"));
        QCOMPARE(store.anchors().size(), 3);
        store.removeAnchor(QStringLiteral("item"));
        QVERIFY(!store.anchor(QStringLiteral("item")));
        QCOMPARE(store.anchors().size(), 2);
    }

    void anchorLogForm_data()
    {
        QTest::addColumn<bool>("absolute");
        QTest::addColumn<bool>("normalize");
        QTest::addColumn<QString>("expected");

        QTest::newRow("both set") << true << true << "item a/@id yes yes";
        QTest::newRow("only normalize") << false << true << "item a/@id no yes";
    }

    void anchorLogForm()
    {
        QFETCH(bool, absolute);
        QFETCH(bool, normalize);
        QFETCH(QString, expected);
        const Anchor anchor { QStringLiteral("item"), QStringLiteral("a/@id"), absolute,
            normalize };
        QCOMPARE(anchor.logForm(), expected);
    }

    void locate_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");

        const QString fallback = QStringLiteral("<default>");
        QTest::newRow("no flag") << QStringList { "zov", "a.xml", "b.xml" } << fallback;
        QTest::newRow("flag with path")
            << QStringList { "zov", "a.xml", "b.xml", "-cfg", "my.xml" } << "my.xml";
        QTest::newRow("flag at the end")
            << QStringList { "zov", "a.xml", "b.xml", "-cfg" } << fallback;
        QTest::newRow("flag with empty argument")
            << QStringList { "zov", "-cfg", "", "x.xml" } << fallback;
        QTest::newRow("second flag ignored")
            << QStringList { "zov", "-cfg", "first.xml", "-cfg", "second.xml" } << "first.xml";
        QTest::newRow("path taken unchanged")
            << QStringList { "zov", "-cfg", "../cfg dir/z.xml" } << "../cfg dir/z.xml";
    }

    void locate()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        if (expected == QLatin1String("<default>"))
            expected = QDir::currentPath() + QDir::separator() + QStringLiteral("zov_cfg.xml");
        Cfgstore::instance().setPath(QStringLiteral("stale.xml"));
        QCOMPARE(Cfgstore::instance().locate(arguments), expected);
        QCOMPARE(Cfgstore::instance().cfgpath(), expected);
    }
};

QTEST_GUILESS_MAIN(TestCfgstore)
#include "tst_cfgstore.moc"
