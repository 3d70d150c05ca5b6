#include "../testfiles.h"
#include "run/diffscenario.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

// A whole run on a small pair, compared byte for byte with the stored result file.
class Tst_golden : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fruitList_data()
    {
        QTest::addColumn<QString>("addDeleted");
        QTest::addColumn<QString>("useDel");
        QTest::addColumn<QString>("expectedFile");
        const auto row
            = [](const char* name, const char* addDeleted, const char* useDel, const char* file) {
                  QTest::newRow(name) << QString(addDeleted) << QString(useDel) << QString(file);
              };
        row("deleted nodes written", "true", "true", "golden_expected.xml");
        row("deleted mark only", "false", "true", "golden_expected_markonly.xml");
        row("neither", "false", "false", "golden_expected_nodeleted.xml");
    }
    void fruitList()
    {
        QFETCH(QString, addDeleted);
        QFETCH(QString, useDel);
        QFETCH(QString, expectedFile);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString start = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        QVERIFY(QFile::copy(QStringLiteral(ZOV_TEST_DATA "/golden_old.xml"), "old.xml"));
        QVERIFY(QFile::copy(QStringLiteral(ZOV_TEST_DATA "/golden_new.xml"), "new.xml"));

        QHash<QString, QString> overrides { { "usecm_del", useDel },
            { "add_del_nodes_2_res", addDeleted }, { "do_txtdiff", "true" }, { "savemode", "1" },
            { "element_indent", "2" } };
        for (const Cfgkey& key : cfgKeys()) {
            if (QLatin1String(key.key).startsWith(QLatin1String("usecm_")))
                overrides.insert(QLatin1String(key.key), overrides.value(key.key, "true"));
        }
        const QStringList values = builtinValues(overrides);
        QCOMPARE(writeConfigFile(QStringLiteral("zov_cfg.xml"), values, {}), 0);

        QStringList arguments { QStringLiteral("zov"), QStringLiteral("old.xml"),
            QStringLiteral("new.xml") };
        {
            Diffscenario run(arguments, false);
            QCOMPARE(run.init(), 0);
            QCOMPARE(run.parseFiles(), 0);
            QCOMPARE(run.compare(), 0);
            QCOMPARE(run.writeResultFile(), QString());
        }
        const QByteArray result = readTextFile(QStringLiteral("new_zov.xml"));
        QDir::setCurrent(start);
        QCOMPARE(result, readTextFile(QStringLiteral(ZOV_TEST_DATA "/") + expectedFile));
    }
};

QTEST_GUILESS_MAIN(Tst_golden)
#include "tst_golden.moc"
