#include "compare/cmpvector.h"
#include "testsupport.h"

#include <QtTest>

namespace {

QString joined(const QVector<int>& values)
{
    QStringList parts;
    for (const int value : values)
        parts << QString::number(value);
    return parts.join(QLatin1Char(' '));
}

// A list of c elements holding the given texts.
QByteArray list(const QStringList& texts)
{
    return "<r><c>" + texts.join(QStringLiteral("</c><c>")).toUtf8() + "</c></r>";
}

} // namespace

// Whole documents are compared by the case folders; what no document can reach is a 64-bit
// fingerprint shared by different subtrees, forced here.
class TestCmpvector : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { Cfgstore::instance().useBuiltins(); }

    void forcedCollision_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<bool>("hashMode");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<QString>("expected");
        const QStringList digits = QString("0 1 2 3 4 5 6 7 8 9").split(' ');
        QStringList reversed = digits;
        std::reverse(reversed.begin(), reversed.end());
        QTest::newRow("hash mode trusts the fingerprint")
            << QByteArray("<r><a><b>1</b></a></r>") << QByteArray("<r><a><b>2</b></a></r>") << true
            << ""
            << "1 | 1 | 0";
        QTest::newRow("string mode confirms it, short list")
            << QByteArray("<r><a><b>1</b></a></r>") << QByteArray("<r><a><b>2</b></a></r>") << false
            << ""
            << "0 | 0 | 0";
        QTest::newRow("hash mode, long list") << list(digits) << list(reversed) << true << ""
                                              << "1 1 1 1 1 1 1 1 1 1 | 1 1 1 1 1 1 1 1 1 1 | "
                                                 "0 0 0 0 0 0 0 0 0 0";
        QTest::newRow("string mode, long list: equal subtrees still find each other")
            << list(digits) << list(reversed) << false << ""
            << "2 2 2 2 2 2 2 2 2 2 | 2 2 2 2 2 2 2 2 2 2 | 9 8 7 6 5 4 3 2 1 0";
        QTest::newRow("string mode counts the attribute order when told to")
            << QByteArray("<r><a x='1' y='2'/></r>") << QByteArray("<r><a y='2' x='1'/></r>")
            << false << "ignore_attribute_order=false"
            << "0 | 0 | 0";
        QTest::newRow("string mode ignores the attribute order by default")
            << QByteArray("<r><a x='1' y='2'/></r>") << QByteArray("<r><a y='2' x='1'/></r>")
            << false << ""
            << "1 | 1 | 0";
    }

    void forcedCollision()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(bool, hashMode);
        QFETCH(QString, settings);
        QFETCH(QString, expected);
        configure(settings.split(' ', Qt::SkipEmptyParts));
        std::unique_ptr<Zovtree> tree1;
        std::unique_ptr<Zovtree> tree2;
        QVERIFY(parseColliding(first, second, tree1, tree2));
        std::unique_ptr<Cmpvector> vector;
        if (hashMode)
            vector = std::make_unique<Cmpvector_hash>(tree1->root(), tree2->root());
        else
            vector = std::make_unique<Cmpvector_str>(tree1->root(), tree2->root());
        vector->matchEqualInPlace();
        vector->matchEqualMoved();
        QCOMPARE(joined(vector->state1) + " | " + joined(vector->state2) + " | "
                + joined(vector->partner2),
            expected);
    }
};

QTEST_GUILESS_MAIN(TestCmpvector)
#include "tst_cmpvector.moc"
