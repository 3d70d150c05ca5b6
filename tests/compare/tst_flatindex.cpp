#include "compare/flatindex.h"

#include <QHash>
#include <QtTest>

// The index must answer as a QHash would, also for keys that differ only in their high bits, for
// the key 0 and when it holds more keys than it was made for.
class Tst_flatindex : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answersAsAHash_data()
    {
        QTest::addColumn<int>("expected");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("shift");
        QTest::newRow("as many as expected") << 1000 << 1000 << 0;
        QTest::newRow("far more than expected") << 1 << 5000 << 0;
        QTest::newRow("keys apart in the high bits") << 100 << 3000 << 40;
        QTest::newRow("none") << 10 << 0 << 0;
        QTest::newRow("key 0 among others") << 4 << 40 << 63;
    }

    void answersAsAHash()
    {
        QFETCH(int, expected);
        QFETCH(int, count);
        QFETCH(int, shift);
        Flatindex<int> index(expected);
        QHash<quint64, int> reference;
        for (int k = 0; k < count; ++k) {
            // Every key twice: the second insert keeps the first value.
            const quint64 key = quint64(k / 2) << shift;
            const int stored = index.insert(key, k);
            QCOMPARE(stored, reference.contains(key) ? reference.value(key) : k);
            reference.insert(key, stored);
        }
        for (int k = 0; k < count + 10; ++k) {
            const quint64 key = quint64(k) << shift;
            const int* const found = index.find(key);
            QCOMPARE(found != nullptr, reference.contains(key));
            if (found)
                QCOMPARE(*found, reference.value(key));
        }
        QVERIFY(!index.contains(~quint64(0)));
    }
};

QTEST_GUILESS_MAIN(Tst_flatindex)
#include "tst_flatindex.moc"
