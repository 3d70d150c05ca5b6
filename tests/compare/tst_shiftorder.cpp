#include "compare/shiftorder.h"

#include <QtTest>

// The pairs left in order are the largest rising set of old indices; of equally large sets the
// one with more pairs at their own index. A list that rises throughout keeps every pair.
class Tst_shiftorder : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void keptOrder_data()
    {
        QTest::addColumn<QVector<int>>("oldIndex");
        QTest::addColumn<QVector<bool>>("kept");
        QTest::newRow("nothing paired")
            << QVector<int> { -1, -1 } << QVector<bool> { false, false };
        QTest::newRow("one inserted at the front")
            << QVector<int> { -1, 0, 1, 2 } << QVector<bool> { false, true, true, true };
        QTest::newRow("rising with gaps")
            << QVector<int> { -1, 0, 2, -1, 5 } << QVector<bool> { false, true, true, false, true };
        QTest::newRow("one moved back")
            << QVector<int> { 0, 3, 1, 2 } << QVector<bool> { true, false, true, true };
        QTest::newRow("reversed, the one in place stays")
            << QVector<int> { 2, 1, 0 } << QVector<bool> { false, true, false };
        const QVector<bool> middleKept { false, false, true, true, false, false };
        QTest::newRow("equal length, the block in place stays")
            << QVector<int> { 4, 5, 2, 3, 0, 1 } << middleKept;
    }

    void keptOrder()
    {
        QFETCH(QVector<int>, oldIndex);
        QFETCH(QVector<bool>, kept);
        QCOMPARE(::keptOrder(oldIndex), kept);
    }

    // A long list that rises except for one pair: only that pair is left out.
    void longListWithOneMove()
    {
        QVector<int> oldIndex;
        for (int i = 0; i < 100000; ++i)
            oldIndex.append(i);
        oldIndex.move(70000, 10);
        const QVector<bool> kept = ::keptOrder(oldIndex);
        QCOMPARE(kept.count(false), 1);
        QVERIFY(!kept.at(10));
    }
};

QTEST_GUILESS_MAIN(Tst_shiftorder)
#include "tst_shiftorder.moc"
