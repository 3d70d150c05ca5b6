#include "model/zovtree.h"
#include "xmltext.h"

#include <QtTest>

// What the loader builds beyond what a result file shows (the load-* and refused-* case folders
// pin that), and documents deeper than the call stack.
class Tst_zovtree : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textSplitByOtherNodesStaysSplit()
    {
        const auto tree = loadXml("<a>x<!--c-->y<![CDATA[z]]>w</a>");
        QVector<Nodekind> kinds;
        for (const Zovnode* child : *tree->root()->children())
            kinds << child->kind();
        QCOMPARE(kinds, QVector<Nodekind>({ Text, Comment, Text, Cdata, Text }));
    }

    void parseErrorKeepsWhatWasRead()
    {
        QString error;
        const auto tree = loadXml("<a><b>x</a>", &error);
        QVERIFY(!error.isEmpty());
        QCOMPARE(tree->root()->contentString(false, false, false),
            fingerprintOf("<a><b>x</b></a>", false, false, false));
    }

    void setRoot()
    {
        const auto source = loadXml("<a k=\"v\"><b/></a>");
        Zovnode partner(QStringLiteral("p"), Text);
        source->root()->linkPartner(&partner);
        Zovtree result;
        QCOMPARE(result.setRoot(source->root()), 0);
        QCOMPARE(result.root()->contentString(false, false, false),
            fingerprintOf("<a k=\"v\"/>", false, false, false));
        QVERIFY(!result.root()->partner());
        QCOMPARE(result.setRoot(source->root()), -1100);

        Zovtree plain;
        QCOMPARE(plain.setRoot(source->root()->children()->at(0)), 0);
        QCOMPARE(plain.root()->kind(), Element);
        Zovtree wrong;
        QTest::ignoreMessage(QtDebugMsg, "Error: called setroot with invalide node type!");
        QCOMPARE(wrong.setRoot(&partner), -1105);
        QVERIFY(!wrong.root());
    }

    void secondLoadIsRefused()
    {
        const auto tree = loadXml("<a><b/></a>");
        QBuffer again;
        again.setData("<c/>");
        again.open(QIODevice::ReadOnly);
        QVERIFY(!tree->load(&again).isEmpty());
        QCOMPARE(tree->root()->text(), QStringLiteral("a"));
    }

    void deepDocument()
    {
        const int depth = 200000;
        QString error;
        auto tree = loadXml(
            QByteArray("<d>").repeated(depth) + "x" + QByteArray("</d>").repeated(depth), &error);
        QCOMPARE(error, QString());
        int levels = 1;
        const Zovnode* node = tree->root();
        for (; node->children()->at(0)->kind() == Element; node = node->children()->at(0))
            ++levels;
        QCOMPARE(levels, depth);
        QCOMPARE(node->children()->at(0)->text(), QStringLiteral("x"));

        const QString fingerprint = tree->root()->contentString(true, false, true);
        auto host = std::make_unique<Zovelementnode>(QStringLiteral("host"));
        const Zovnode* const copy = host->copyChild(tree->root(), true);
        QCOMPARE(copy->contentString(true, false, true), fingerprint);
        QCOMPARE(tree->root()->descendantAttributeText(true), QString());
        host.reset();
        tree.reset();
    }

    // More distinct values than the loader's string table keeps, and enough names to make it
    // grow repeatedly.
    void manyDistinctNamesStayIntact()
    {
        QByteArray xml = "<r>";
        for (int i = 0; i < 9000; ++i)
            xml += "<e" + QByteArray::number(i) + " v=\"" + QByteArray::number(i) + "\"/>";
        const auto tree = loadXml(xml + "</r>");
        const QVector<Zovnode*>& children = *tree->root()->children();
        QCOMPARE(children.size(), 9000);
        for (int i = 0; i < 9000; ++i) {
            QCOMPARE(children[i]->text(), QStringLiteral("e%1").arg(i));
            QCOMPARE(children[i]->attributeString(1), QString::number(i));
        }
    }
};

QTEST_GUILESS_MAIN(Tst_zovtree)
#include "tst_zovtree.moc"
