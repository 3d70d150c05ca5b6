#include "compare/fingerprint.h"
#include "testsupport.h"

#include <QtTest>

namespace {

const QByteArray pairDocument = "<r>"
                                "<a k='1'>x  y</a><a k='1'>x y</a><a k='1'> x y </a>"
                                "<b><c>t</c>t<!--t--><![CDATA[t]]><?t d?></b>"
                                "<b><c>t</c>t<!--t--><![CDATA[t]]><?t d?></b>"
                                "<b><c>u</c>t<!--t--><![CDATA[t]]><?t d?></b>"
                                "<d y='2' x='1'/><d x='1' y='2'/><d/>"
                                "<e>t</e><e><f/></e><e>t<f/></e>"
                                "</r>";

std::unique_ptr<Zovtree> loadFingerprinted(const Keyflags& flags)
{
    auto tree = std::make_unique<Zovtree>();
    tree->setNodeFinished(
        [flags](Zovnode* node) { node->setFingerprint(fingerprintFromChildren(node, flags)); });
    QByteArray xml = pairDocument;
    QBuffer buffer(&xml);
    buffer.open(QIODevice::ReadOnly);
    if (!tree->load(&buffer).isEmpty())
        return nullptr;
    return tree;
}

} // namespace

// Only elements keep a fingerprint; a leaf's is made on demand. Both ways of making them (while
// loading, children first, and afterwards over the whole tree) must agree with each other and
// with equality, for every kind of node.
class Tst_fingerprint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void storedAgreesWithEquality_data()
    {
        QTest::addColumn<bool>("simplify");
        QTest::addColumn<bool>("ignoreAttributes");
        QTest::addColumn<bool>("ignoreAttributeOrder");
        QTest::newRow("exact") << false << false << false;
        QTest::newRow("simplified spaces") << true << false << false;
        QTest::newRow("attribute order ignored") << false << false << true;
        QTest::newRow("attributes ignored, spaces simplified") << true << true << false;
    }

    void storedAgreesWithEquality()
    {
        QFETCH(bool, simplify);
        QFETCH(bool, ignoreAttributes);
        QFETCH(bool, ignoreAttributeOrder);
        const Keyflags flags { simplify, ignoreAttributes, ignoreAttributeOrder };
        const std::unique_ptr<Zovtree> loaded = loadFingerprinted(flags);
        const std::unique_ptr<Zovtree> later = parseTree(pairDocument);
        QVERIFY(loaded && later);
        storeFingerprints(later->root(), flags);

        const QVector<Zovnode*> nodes = preorder(loaded->root());
        const QVector<Zovnode*> again = preorder(later->root());
        QCOMPARE(nodes.size(), again.size());
        int equalPairs = 0;
        for (qsizetype i = 0; i < nodes.size(); ++i) {
            const bool element = nodes[i]->kind() == Element || nodes[i]->kind() == Attrelement;
            QCOMPARE(nodes[i]->fingerprint() != 0, element);
            QCOMPARE(nodeFingerprint(nodes[i], flags), nodeFingerprint(again[i], flags));
            QCOMPARE(nodeFingerprint(nodes[i], flags), subtreeHash(nodes[i], flags));
            for (qsizetype j = i + 1; j < nodes.size(); ++j) {
                const bool equal = subtreesEqual(nodes[i], nodes[j], flags);
                equalPairs += equal;
                QCOMPARE(
                    nodeFingerprint(nodes[i], flags) == nodeFingerprint(nodes[j], flags), equal);
                QCOMPARE(storedSubtreesEqual(nodes[i], nodes[j], flags), equal);
            }
        }
        // The document holds equal subtrees under every row, so the equal side is exercised.
        QVERIFY(equalPairs > 0);
    }
};

QTEST_GUILESS_MAIN(Tst_fingerprint)
#include "tst_fingerprint.moc"
