#include "model/stringpool.h"

#include <QStringList>
#include <QTest>
#include <memory>

// Pooled copies must behave as plain QStrings: equal, terminated, independent when changed, and
// alive after their pool and their neighbours have gone.
class Tst_stringpool : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void copies_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("short") << QStringLiteral("cloud 7");
        QTest::newRow("outside the basic plane") << QStringLiteral("x\U0001F600y");
        QTest::newRow("longest pooled") << QString(256, QLatin1Char('p'));
        QTest::newRow("too long for the pool") << QString(257, QLatin1Char('q'));
        QTest::newRow("empty") << QString(QLatin1String(""));
        QTest::newRow("null") << QString();
    }

    void copies()
    {
        QFETCH(QString, text);
        Stringpool pool;
        const QString first = pool.copy(text);
        const QString second = pool.copy(text);
        QCOMPARE(first, text);
        QCOMPARE(first.isNull(), text.isNull());
        QCOMPARE(first.utf16()[first.size()], u'\0');
        QCOMPARE(second, text);
    }

    // Thousands of texts over several blocks; changing one, or dropping its neighbours and the
    // pool, leaves the others as they were.
    void manyTexts()
    {
        auto pool = std::make_unique<Stringpool>();
        QStringList texts;
        QStringList expected;
        for (int i = 0; i < 20000; ++i) {
            const QString text = QStringLiteral("text %1 ").arg(i).repeated(1 + i % 7);
            texts << pool->copy(text);
            expected << text;
        }
        pool.reset();
        texts[1] += QStringLiteral(" appended");
        texts[2].replace(0, 4, QStringLiteral("TEXT"));
        texts[3].squeeze();
        QCOMPARE(texts.at(0), expected.at(0));
        QCOMPARE(texts.at(1), expected.at(1) + QStringLiteral(" appended"));
        QCOMPARE(texts.at(2), QStringLiteral("TEXT") + expected.at(2).mid(4));
        QCOMPARE(texts.at(3), expected.at(3));
        for (int i = 4; i < texts.size(); i += 2)
            texts[i].clear();
        for (int i = 5; i < texts.size(); i += 2)
            QCOMPARE(texts.at(i), expected.at(i));
    }
};

QTEST_GUILESS_MAIN(Tst_stringpool)
#include "tst_stringpool.moc"
