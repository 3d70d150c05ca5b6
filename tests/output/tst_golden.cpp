#include "config/cfgkeys.h"
#include "config/cfgwriter.h"
#include "run/diffscenario.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// A whole run on a small pair, compared byte for byte with the stored result file.
class Tst_golden : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void fruitList_data()
    {
        QTest::addColumn<QString>("addDeleted");
        QTest::addColumn<QString>("useDel");
        QTest::addColumn<QString>("expectedFile");
        QTest::newRow("deleted nodes written") << "true"
                                               << "true"
                                               << "golden_expected.xml";
        QTest::newRow("deleted mark only") << "false"
                                           << "true"
                                           << "golden_expected_markonly.xml";
        QTest::newRow("neither") << "false"
                                 << "false"
                                 << "golden_expected_nodeleted.xml";
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

        QStringList values;
        for (const Cfgkey& row : cfgKeys()) {
            const QString key = QString::fromLatin1(row.key);
            QString value = QString::fromUtf8(row.builtin);
            if (key.startsWith(QLatin1String("usecm_")))
                value = QStringLiteral("true");
            if (key == QLatin1String("usecm_del"))
                value = useDel;
            if (key == QLatin1String("add_del_nodes_2_res"))
                value = addDeleted;
            if (key == QLatin1String("do_txtdiff"))
                value = QStringLiteral("true");
            if (key == QLatin1String("savemode"))
                value = QStringLiteral("1");
            if (key == QLatin1String("element_indent"))
                value = QStringLiteral("2");
            values << value;
        }
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
        const QByteArray result = readAll(QStringLiteral("new_zov.xml"));
        QDir::setCurrent(start);
        QCOMPARE(result, readAll(QStringLiteral(ZOV_TEST_DATA "/") + expectedFile));
    }
};

QTEST_GUILESS_MAIN(Tst_golden)
#include "tst_golden.moc"
