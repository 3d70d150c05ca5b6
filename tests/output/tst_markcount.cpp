#include "config/cfgstore.h"
#include "model/zovtree.h"
#include "output/markcount.h"

#include <QBuffer>
#include <QTest>

namespace {

void load(Zovtree& tree, const QByteArray& xml)
{
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    QCOMPARE(tree.load(&buffer), QString());
}

void set(const char* key, const QString& value)
{
    Cfgstore::instance().setParameter(QLatin1String(key), value);
}

} // namespace

class Tst_markcount : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { Cfgstore::instance().useBuiltins(); }

    void kindOfBuiltinTexts_data()
    {
        QTest::addColumn<QString>("mark");
        QTest::addColumn<int>("kind");
        QTest::newRow("complete match") << "complete match" << 1;
        QTest::newRow("position change") << "position change -3" << 2;
        QTest::newRow("content change") << "content change" << 3;
        QTest::newRow("attribute change") << "attribute change" << 4;
        QTest::newRow("position and content") << "position and content change 2" << 6;
        QTest::newRow("all three") << "position and content and attribute change -1" << 8;
        QTest::newRow("added") << "element added" << 9;
        QTest::newRow("deleted") << "element deleted #comment" << 10;
        QTest::newRow("position kind without offset") << "position change" << 0;
        QTest::newRow("unknown") << "hello" << 0;
    }
    void kindOfBuiltinTexts()
    {
        QFETCH(QString, mark);
        QFETCH(int, kind);
        QCOMPARE(Markclassifier().kind(mark), kind);
    }

    void kindOfAwkwardTexts_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("mark");
        QTest::addColumn<int>("kind");
        const auto row
            = [](const char* name, const char* key, const char* text, const char* mark, int kind) {
                  QTest::newRow(name) << QString(key) << QString(text) << QString(mark) << kind;
              };
        row("empty exact text", "element_added", "", "", 9);
        row("longest prefix wins", "element_deleted", "position", "position change 1", 2);
        row("empty prefix text still classifies", "position_change", "", " 4", 2);
        row("exact beats prefix", "content_change", "position change 1", "position change 1", 3);
        row("prefix needs a blank", "position_change", "pc", "pcx 1", 0);
    }
    void kindOfAwkwardTexts()
    {
        QFETCH(QString, key);
        QFETCH(QString, text);
        QFETCH(QString, mark);
        QFETCH(int, kind);
        Cfgstore::instance().setParameter(key, text);
        QCOMPARE(Markclassifier().kind(mark), kind);
    }

    void countsOnlyTheComparisonsMarks()
    {
        Zovtree tree;
        load(tree,
            "<r><?ZOV position change 1?><a><?ZOV content change?><x/></a>"
            "<?ZOV content change?><b><?ZOV element added?><y/><?ZOV element deleted z?><z/>"
            "<?ZOV content change?><c><?ZOV complete match?>t</c></b>"
            "<?ZOV element deleted d?><d/></r>");
        const QVector<int> counts = countMarks(tree.root());
        QCOMPARE(counts, QVector<int>({ 0, 1, 1, 2, 0, 0, 0, 0, 0, 1, 2 }));
    }

    void documentsEqual_data()
    {
        QTest::addColumn<QByteArray>("old");
        QTest::addColumn<QByteArray>("result");
        QTest::addColumn<QString>("ignoreAttributes");
        QTest::addColumn<QString>("ignoreOrder");
        QTest::addColumn<bool>("equal");
        const auto row = [](const char* name, const char* old, const char* result,
                             const char* ignoreAttributes, const char* ignoreOrder, bool equal) {
            QTest::newRow(name) << QByteArray(old) << QByteArray(result)
                                << QString(ignoreAttributes) << QString(ignoreOrder) << equal;
        };
        row("complete matches", "<r><a/><b/></r>",
            "<r><?ZOV complete match?><a/><?ZOV complete match?><b/></r>", "false", "true", true);
        row("a moved child", "<r><a/><b/></r>",
            "<r><?ZOV position change 1?><a/><?ZOV complete match?><b/></r>", "false", "true",
            false);
        row("other root name", "<q/>", "<r/>", "false", "true", false);
        row("root attributes reordered", "<r a='1' b='2'/>", "<r b='2' a='1'/>", "false", "true",
            true);
        row("root attributes reordered, order counts", "<r a='1' b='2'/>", "<r b='2' a='1'/>",
            "false", "false", false);
        row("root attribute changed", "<r a='1'/>", "<r a='2'/>", "false", "true", false);
        row("root attribute changed, attributes ignored", "<r a='1'/>", "<r a='2'/>", "true",
            "true", true);
    }
    void documentsEqual()
    {
        QFETCH(QByteArray, old);
        QFETCH(QByteArray, result);
        QFETCH(QString, ignoreAttributes);
        QFETCH(QString, ignoreOrder);
        QFETCH(bool, equal);
        set("ignore_attributes", ignoreAttributes);
        set("ignore_attribute_order", ignoreOrder);
        Zovtree tree1;
        Zovtree merged;
        load(tree1, old);
        load(merged, result);
        QCOMPARE(::documentsEqual(tree1.root(), merged.root()), equal);
    }
};

QTEST_GUILESS_MAIN(Tst_markcount)
#include "tst_markcount.moc"
