#include "output/commonsubstring.h"

#include <QStringList>
#include <QTest>

// The linear search must find exactly the span of the table, ties included, whichever text the
// automaton is built on.
class Tst_commonsubstring : public QObject {
    Q_OBJECT

private:
    static void compareBoth(const QString& a, const QString& b)
    {
        const Commonspan table = commonSpanByTable(a, b);
        const Commonspan automaton = commonSpanByAutomaton(a, b);
        if (table.start != automaton.start || table.length != automaton.length)
            QFAIL(qPrintable(QStringLiteral("'%1' / '%2': table %3+%4, automaton %5+%6")
                                 .arg(a.left(40), b.left(40))
                                 .arg(table.start)
                                 .arg(table.length)
                                 .arg(automaton.start)
                                 .arg(automaton.length)));
    }

    // Every text over the alphabet up to maxLength characters, shortest first.
    static QStringList allTexts(const QString& alphabet, int maxLength)
    {
        QStringList texts { QString() };
        for (qsizetype from = 0; from < texts.size(); ++from) {
            if (texts.at(from).size() == maxLength)
                break;
            for (const QChar c : alphabet)
                texts << texts.at(from) + c;
        }
        return texts;
    }

    // Words from a small vocabulary, so that long common runs and many near-ties occur.
    static QString words(int count, quint32 seed)
    {
        static const char* const vocabulary[]
            = { "alpha", "beta", "gamma", "delta", "al", "ph", "a", "be", " ", "\u00e9t\u00e9" };
        QString text;
        for (int i = 0; i < count; ++i) {
            seed = seed * 1103515245u + 12345u;
            text += QString::fromUtf8(vocabulary[(seed >> 16) % 10]);
        }
        return text;
    }

private Q_SLOTS:
    void span_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<qsizetype>("start");
        QTest::addColumn<qsizetype>("length");
        const auto row = [](const char* name, const char* a, const char* b, qsizetype start,
                             qsizetype length) {
            QTest::newRow(name) << QString::fromUtf8(a) << QString::fromUtf8(b) << start << length;
        };
        row("empty a", "", "abc", 0, 0);
        row("empty b", "abc", "", 0, 0);
        row("nothing in common", "abc", "xyz", 0, 0);
        row("b's first character: last place in a", "axa", "a", 2, 1);
        row("b's first character beats a later one", "ab", "ba", 1, 1);
        row("single character found later in b: first place in a", "ab", "xa", 0, 1);
        row("equal lengths: first ending in b wins", "xyab", "abxy", 2, 2);
        row("equal lengths ending together in b: first in a", "abxab", "ab", 0, 2);
        row("longer a, equal lengths: first ending in b wins", "qqxyqqab", "abxy", 6, 2);
        row("longer a, equal ends in b: first in a", "abzzzzab", "ab", 0, 2);
        row("longest wins over earlier", "abcxabcd", "abcd", 4, 4);
        row("whole text", "same", "same", 0, 4);
        row("outside the basic plane", "x\U0001F600y", "\U0001F600", 1, 2);
    }

    void span()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(qsizetype, start);
        QFETCH(qsizetype, length);
        for (const Commonspan found : { commonSpanByTable(a, b), commonSpanByAutomaton(a, b) }) {
            QCOMPARE(found.start, start);
            QCOMPARE(found.length, length);
        }
    }

    void everyShortPair_data()
    {
        QTest::addColumn<QString>("alphabet");
        QTest::addColumn<int>("maxLength");
        QTest::newRow("two letters up to 7") << QStringLiteral("ab") << 7;
        QTest::newRow("three letters up to 4") << QStringLiteral("abc") << 4;
    }

    void everyShortPair()
    {
        QFETCH(QString, alphabet);
        QFETCH(int, maxLength);
        const QStringList texts = allTexts(alphabet, maxLength);
        for (const QString& a : texts) {
            for (const QString& b : texts)
                compareBoth(a, b);
        }
    }

    void longTexts_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        const QString text = words(600, 1);
        QTest::newRow("unrelated") << text << words(700, 2);
        QString edited = text;
        edited.insert(1200, QStringLiteral("inserted"));
        edited.remove(300, 40);
        QTest::newRow("edited copy") << text << edited;
        QTest::newRow("edited copy, other way") << edited << text;
        QTest::newRow("one repeated letter")
            << QString(2000, QLatin1Char('a')) << QString(1500, QLatin1Char('a'));
        QTest::newRow("periodic") << QStringLiteral("abc").repeated(700)
                                  << QStringLiteral("bca").repeated(500) + QStringLiteral("x");
    }

    void longTexts()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        compareBoth(a, b);
    }
};

QTEST_GUILESS_MAIN(Tst_commonsubstring)
#include "tst_commonsubstring.moc"
