#include "config/cfgstore.h"
#include "output/resultwriter.h"

#include <QTest>

class Tst_resultwriter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { Cfgstore::instance().useBuiltins(); }

    void resultFileName_data()
    {
        QTest::addColumn<QString>("supplement");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* supplement, const char* input,
                             const char* expected) {
            QTest::newRow(name) << QString(supplement) << QString(input) << QString(expected);
        };
        row("default supplement", "", "new.xml", "new_zov.xml");
        row("own supplement", "_diff", "new.xml", "new_diff.xml");
        row("two dots", "_zov", "a.b.xml", "a.b_zov.xml");
        row("no extension in dotted directory", "_zov", "/tmp/v1.2/data", "/tmp/v1.2/data_zov");
        row("dotted directory", "_zov", "./x.d/new.xml", "./x.d/new_zov.xml");
        row("hidden file", "_zov", "dir/.settings", "dir/.settings_zov");
        row("trailing dot", "_zov", "data.", "data_zov.");
    }
    void resultFileName()
    {
        QFETCH(QString, supplement);
        QFETCH(QString, input);
        QFETCH(QString, expected);
        QCOMPARE(::resultFileName(supplement, input), expected);
    }

    void isMarkWritten_data()
    {
        QTest::addColumn<QString>("flag");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<bool>("expected");
        const struct {
            const char* flag;
            const char* mark;
        } kinds[] = {
            { "usecm_cm", "complete match" },
            { "usecm_pc", "position change 2" },
            { "usecm_cc", "content change" },
            { "usecm_ac", "attribute change" },
            { "usecm_acc", "attribute and content change" },
            { "usecm_pcc", "position and content change -1" },
            { "usecm_pac", "position and attribute change 3" },
            { "usecm_pcac", "position and content and attribute change -2" },
            { "usecm_add", "element added" },
            { "usecm_del", "element deleted c" },
        };
        for (const auto& kind : kinds) {
            QTest::addRow("%s on", kind.flag) << kind.flag << kind.mark << true;
            QTest::addRow("%s on, other mark", kind.flag)
                << kind.flag
                << (QByteArray(kind.mark) == "element added" ? "content change" : "element added")
                << false;
        }
        QTest::newRow("exact kind with suffix") << "usecm_cc"
                                                << "content change 1" << false;
        QTest::newRow("exact kind is case-sensitive") << "usecm_add"
                                                      << "Element added" << false;
        QTest::newRow("deleted mark through add_del_nodes_2_res") << "add_del_nodes_2_res"
                                                                  << "element deleted x" << true;
    }
    void isMarkWritten()
    {
        QFETCH(QString, flag);
        QFETCH(QString, mark);
        QFETCH(bool, expected);
        Cfgstore& cfg = Cfgstore::instance();
        for (const char* key :
            { "usecm_cm", "usecm_pc", "usecm_cc", "usecm_ac", "usecm_acc", "usecm_pcc", "usecm_pac",
                "usecm_pcac", "usecm_add", "usecm_del", "add_del_nodes_2_res" })
            cfg.setParameter(QLatin1String(key), QStringLiteral("false"));
        cfg.setParameter(flag, QStringLiteral("true"));
        QCOMPARE(::isMarkWritten(mark), expected);
    }

    void emptyPositionTextLetsEveryMarkPass()
    {
        Cfgstore& cfg = Cfgstore::instance();
        cfg.setParameter(QStringLiteral("position_change"), QString());
        QVERIFY(::isMarkWritten(QStringLiteral("anything at all")));
        cfg.setParameter(QStringLiteral("usecm_pc"), QStringLiteral("false"));
        QVERIFY(!::isMarkWritten(QStringLiteral("anything at all")));
    }

    void skipRule_data()
    {
        QTest::addColumn<QString>("deletedText");
        QTest::addColumn<bool>("addDeleted");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<bool>("skips");
        QTest::newRow("deleted mark") << "element deleted" << false << "element deleted c" << true;
        QTest::newRow("deleted mark, deleted nodes kept")
            << "element deleted" << true << "element deleted c" << false;
        QTest::newRow("other mark") << "element deleted" << false << "element added" << false;
        QTest::newRow("empty deleted text") << "" << false << "element added" << true;
    }
    void skipRule()
    {
        QFETCH(QString, deletedText);
        QFETCH(bool, addDeleted);
        QFETCH(QString, mark);
        QFETCH(bool, skips);
        Cfgstore& cfg = Cfgstore::instance();
        cfg.setParameter(QStringLiteral("element_deleted"), deletedText);
        cfg.setParameter(QStringLiteral("add_del_nodes_2_res"), addDeleted ? "true" : "false");
        QCOMPARE(Markfilter().skipsNext(mark), skips);
    }
};

QTEST_GUILESS_MAIN(Tst_resultwriter)
#include "tst_resultwriter.moc"
