#include "model/texthash.h"

#include <QSet>
#include <QTest>

// The hash keys every name table and every fingerprint: a unit it skips, or a length it mixes
// up, makes unequal texts collide on every document that differs there.
class Tst_texthash : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyUnitCounts()
    {
        for (int length = 0; length <= 40; ++length) {
            QString text;
            for (int i = 0; i < length; ++i)
                text += QChar(char16_t(u'a' + i % 26));
            const size_t hash = textHash(text);
            // The same units elsewhere in memory (any alignment) give the same hash.
            const QString padded = QStringLiteral("xyz") + text;
            QCOMPARE(textHash(QStringView(padded).mid(3)), hash);
            QSet<size_t> seen { hash, textHash(text + QChar(u'\0')) };
            for (int i = 0; i < length; ++i) {
                QString changed = text;
                changed[i] = QChar(char16_t(changed[i].unicode() ^ 0x100));
                seen.insert(textHash(changed));
            }
            QCOMPARE(seen.size(), length + 2);
            QVERIFY(textHash(text, 1) != hash);
        }
    }

    void nullAndEmptyAreOneText()
    {
        QCOMPARE(textHash(QString()), textHash(QString(QLatin1String(""))));
        QVERIFY(textHash(QString()) != textHash(QStringLiteral(" ")));
    }
};

QTEST_GUILESS_MAIN(Tst_texthash)
#include "tst_texthash.moc"
