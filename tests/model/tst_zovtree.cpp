#include "model/nodearena.h"
#include "model/sizedvector.h"
#include "model/zovtree.h"

#include <QBuffer>
#include <QtTest>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

std::unique_ptr<Zovtree> loadXml(const QByteArray& xml, QString* error = nullptr)
{
    QBuffer buffer;
    buffer.setData(xml);
    buffer.open(QIODevice::ReadOnly);
    auto tree = std::make_unique<Zovtree>();
    const QString message = tree->load(&buffer);
    if (error)
        *error = message;
    return tree;
}

QString fingerprintOf(const QByteArray& xml, bool simplify = false, bool ignoreAttributes = false,
    bool ignoreAttributeOrder = false)
{
    const auto tree = loadXml(xml);
    return tree->root()
        ? tree->root()->contentString(simplify, ignoreAttributes, ignoreAttributeOrder)
        : QStringLiteral("<no root>");
}

} // namespace

// The node operations the comparison relies on, what the loader builds beyond what a result file
// shows (the load-* and refused-* case folders pin that), and documents deeper than the call
// stack.
class Tst_zovtree : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Running out of room must reach the front end as std::bad_alloc, not as a write through
    // the null of a failed allocation.
    void sizedVectorsReportMissingRoom()
    {
        const QVector<int> filled = sizedVector<int>(3, 7);
        QCOMPARE(filled, (QVector<int> { 7, 7, 7 }));
        // Long enough to get its pages at once.
        const QVector<quint64> large = sizedVector<quint64>(300000, 9);
        QCOMPARE(large.size(), 300000);
        QCOMPARE(std::count(large.begin(), large.end(), quint64(9)), 300000);
        QVERIFY_THROWS_EXCEPTION(std::bad_alloc, sizedVector<quint64>(qsizetype(1) << 58));
    }

    // Pieces from small blocks, from the largest blocks and larger than any block: each aligned
    // and apart from every other, as a pattern written into each piece and read back shows.
    void arenaPiecesAreAlignedAndApart_data()
    {
        QTest::addColumn<QVector<int>>("sizes");
        QTest::newRow("small blocks") << QVector<int>(300, 40);
        QTest::newRow("into the largest blocks") << QVector<int>(3000, 3000);
        QTest::newRow("larger than a block") << QVector<int> { 24, 5 << 20, 8, (2 << 20) - 8, 16 };
        QTest::newRow("odd sizes") << QVector<int> { 1, 4095, 3, 1 << 20, 7, 4097, 2 << 20, 5 };
    }

    void arenaPiecesAreAlignedAndApart()
    {
        QFETCH(QVector<int>, sizes);
        Nodearena arena;
        QVector<unsigned char*> pieces;
        std::size_t total = 0;
        for (int i = 0; i < sizes.size(); ++i) {
            const std::size_t align = std::size_t(1) << (i % 4 + 1);
            auto* const piece = static_cast<unsigned char*>(arena.allocate(sizes[i], align));
            QCOMPARE(reinterpret_cast<std::uintptr_t>(piece) % align, std::uintptr_t(0));
            std::memset(piece, i & 0xff, std::size_t(sizes[i]));
            pieces.append(piece);
            total += std::size_t(sizes[i]);
        }
        for (int i = 0; i < sizes.size(); ++i) {
            const unsigned char* const begin = pieces[i];
            const unsigned char* const end = begin + sizes[i];
            QVERIFY(std::all_of(begin, end, [i](unsigned char c) { return c == (i & 0xff); }));
        }
        QVERIFY(arena.reserved() >= total);
    }

    void fingerprintEquality_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("second");
        QTest::addColumn<QString>("flags");
        QTest::addColumn<bool>("equal");
        // flags: s = simplify, a = ignore attributes, o = ignore attribute order
        const auto row = [](const char* name, const char* first, const char* second,
                             const char* flags, bool equal) {
            QTest::newRow(name) << QByteArray(first) << QByteArray(second) << QString(flags)
                                << equal;
        };
        // Pairs that a plain concatenation confuses.
        row("text moved into child", "<p><b>Hello</b> world</p>", "<p><b>Hello world</b></p>",
            "sao", false);
        row("attribute boundary", "<a x=\"bc\"/>", "<a xb=\"c\"/>", "", false);
        row("attribute boundary, order ignored", "<e ab=\"c\"/>", "<e a=\"bc\"/>", "o", false);
        row("one attribute vs two, order ignored", "<e a=\"1b2\"/>", "<e a=\"1\" b=\"2\"/>", "o",
            false);
        row("empty comment", "<a/>", "<a><!----></a>", "sao", false);
        row("name runs into text", "<ab/>", "<a>b</a>", "", false);
        row("text vs comment", "<a>x</a>", "<a><!--x--></a>", "", false);
        row("pi target/data boundary", "<a><?ab c?></a>", "<a><?a bc?></a>", "", false);
        row("siblings vs nesting", "<a><b/><c/></a>", "<a><b><c/></b></a>", "", false);
        row("one text vs two texts", "<a>xy</a>", "<a>x<!---->y</a>", "", false);
        row("values swapped between names", "<a p=\"1\" q=\"2\"/>", "<a p=\"2\" q=\"1\"/>", "o",
            false);
        // Pairs whose equality depends on the flags.
        row("indentation dropped", "<a>\n  <b/>\n</a>", "<a><b/></a>", "", true);
        row("spaces simplified", "<a>  x \n  y </a>", "<a>x y</a>", "s", true);
        row("spaces kept without simplify", "<a>  x  y </a>", "<a>x y</a>", "", false);
        row("comment never simplified", "<a><!-- x --></a>", "<a><!--x--></a>", "s", false);
        row("cdata never simplified", "<a><![CDATA[ x ]]></a>", "<a><![CDATA[x]]></a>", "s", false);
        row("attribute values never simplified", "<a p=\" 1\"/>", "<a p=\"1\"/>", "s", false);
        row("attribute order ignored", "<a p=\"1\" q=\"2\"/>", "<a q=\"2\" p=\"1\"/>", "o", true);
        row("attribute order counts", "<a p=\"1\" q=\"2\"/>", "<a q=\"2\" p=\"1\"/>", "", false);
        row("attributes ignored at every depth", "<a p=\"1\"><b q=\"2\">t</b></a>",
            "<a><b>t</b></a>", "a", true);
    }

    void fingerprintEquality()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, second);
        QFETCH(QString, flags);
        QFETCH(bool, equal);
        const bool simplify = flags.contains(QLatin1Char('s'));
        const bool ignoreAttributes = flags.contains(QLatin1Char('a'));
        const bool ignoreOrder = flags.contains(QLatin1Char('o'));
        const QString a = fingerprintOf(first, simplify, ignoreAttributes, ignoreOrder);
        const QString b = fingerprintOf(second, simplify, ignoreAttributes, ignoreOrder);
        QVERIFY(a != QStringLiteral("<no root>") && b != QStringLiteral("<no root>"));
        QCOMPARE(a == b, equal);
    }

    void attributeLookupScansNamesOnly()
    {
        const auto tree = loadXml("<e y=\"x\" z=\"2\"/>");
        const Zovnode* root = tree->root();
        QCOMPARE(root->attributeValue(QStringLiteral("x")), QString());
        QCOMPARE(root->attributeIndex(QStringLiteral("x")), -1);
        QCOMPARE(root->attributeIndex(QStringLiteral("z")), 2);
        QCOMPARE(root->attributeValue(QStringLiteral("z")), QStringLiteral("2"));
        QCOMPARE(root->attributeString(4), QString());
    }

    void descendantAttributeTextIsPreOrder()
    {
        const auto tree
            = loadXml("<r o=\"0\"><x b=\"2\" a=\"1\"><y c=\"3\"/>t</x><z/><w d=\"4\"/></r>");
        const Zovnode* const root = tree->root();
        QCOMPARE(root->descendantAttributeText(false), QStringLiteral("b2a1c3d4"));
        const Childspan top = root->children();
        QCOMPARE(root->descendantAttributeText(true),
            top.at(0)->sortedAttributeText() + top.at(0)->children()->at(0)->sortedAttributeText()
                + top.at(2)->sortedAttributeText());
    }

    // The walk takes the first child of each name and fails on a text or at an empty path.
    void findPath()
    {
        const auto tree
            = loadXml("<r>a<a/><b><c k=\"found\"/></b><x/><x><c k=\"second\"/></x></r>");
        const Zovnode* const root = tree->root();
        QCOMPARE(root->findPath({ "b", "c" })->attributeValue(QStringLiteral("k")), "found");
        QVERIFY(!root->findPath({ "x", "c" }));
        QVERIFY(!root->findPath({ "a" }));
        QVERIFY(!root->findPath({}));
    }

    void copyChildCopiesSubtreeAndPartners()
    {
        const auto tree = loadXml("<r><a k=\"v\">x<b><!--c--><?p d?></b></a></r>");
        Zovnode* const source = tree->root()->children()->at(0);
        Zovtextnode partner(QStringLiteral("P"), Text);
        Zovtextnode innerPartner(QStringLiteral("Q"), Text);
        source->linkPartner(&partner);
        source->children()->at(1)->linkPartner(&innerPartner);

        Zovelementnode host(QStringLiteral("host"));
        Zovnode* const deep = host.copyChild(source, true);
        QVERIFY(deep != source);
        QCOMPARE(
            deep->contentString(false, false, false), source->contentString(false, false, false));
        QCOMPARE(deep->partner(), &partner);
        QCOMPARE(partner.partner(), source);
        QCOMPARE(deep->children()->at(1)->partner(), &innerPartner);

        Zovnode* const shallow = host.copyChild(source, false);
        QCOMPARE(shallow->contentString(false, false, false), fingerprintOf("<a k=\"v\"/>"));
        QVERIFY(!shallow->children());

        // A copy of an element into itself ends with the children it had before.
        Zovnode* const root = tree->root();
        const QString before = root->contentString(false, false, false);
        QCOMPARE(root->copyChild(root, true)->contentString(false, false, false), before);
    }

    // Each operation reaches the right kind through a plain node pointer, on the heap and in an
    // arena; destroy frees each with its own destructor (the sanitizer build checks that).
    void operationsFollowTheKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("inArena");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("attributeStrings");
        QTest::addColumn<QString>("fingerprintHead");
        const int kinds[] = { Text, Comment, Cdata, Pi, Element, Attrelement };
        const char* const names[] = { "#text", "#comment", "#cdata", "data", "e", "e" };
        const char* const heads[] = { "T", "C", "D", "P", "E", "E" };
        for (int i = 0; i < 6; ++i) {
            for (const bool arena : { false, true }) {
                QTest::addRow("kind %d%s", kinds[i], arena ? " in arena" : "")
                    << kinds[i] << arena << QString::fromLatin1(names[i])
                    << (kinds[i] == Pi ? QStringLiteral("data") : QString())
                    << (kinds[i] == Attrelement ? 4 : 0) << QString::fromLatin1(heads[i]);
            }
        }
    }

    void operationsFollowTheKind()
    {
        QFETCH(int, kind);
        QFETCH(bool, inArena);
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(int, attributeStrings);
        QFETCH(QString, fingerprintHead);

        const QString strings[] = { QStringLiteral("b"), QStringLiteral("2"), QStringLiteral("a"),
            QStringLiteral("1") };
        Nodearena arena;
        Zovnode* node = nullptr;
        switch (kind) {
        case Pi:
            node = inArena ? Zovnode::inArena<Zovpinode>(arena, QStringLiteral("t"), name)
                           : new Zovpinode(QStringLiteral("t"), name);
            break;
        case Element:
            node = inArena ? Zovnode::inArena<Zovelementnode>(arena, name)
                           : new Zovelementnode(name);
            break;
        case Attrelement:
            node = inArena ? Zovnode::inArena<Zovattrelementnode>(arena, name, 4, strings, arena)
                           : new Zovattrelementnode(name, 4, strings);
            break;
        default:
            node = inArena
                ? Zovnode::inArena<Zovtextnode>(arena, QStringLiteral("x"), Nodekind(kind))
                : new Zovtextnode(QStringLiteral("x"), Nodekind(kind));
            break;
        }
        const bool element = kind == Element || kind == Attrelement;

        QCOMPARE(node->name(), name);
        QCOMPARE(node->value(), value);
        QCOMPARE(node->isCharacterData(), kind <= Cdata);
        QCOMPARE(node->attributeStringCount(), attributeStrings);
        QCOMPARE(node->hasAttributes(), attributeStrings > 0);
        QCOMPARE(node->attributeValue(QStringLiteral("a")),
            attributeStrings ? QStringLiteral("1") : QString());
        QCOMPARE(node->attributeIndex(QStringLiteral("a")), attributeStrings ? 2 : -1);
        QCOMPARE(node->attributeString(1), attributeStrings ? QStringLiteral("2") : QString());
        QCOMPARE(node->attributeText(), attributeStrings ? QStringLiteral("b2a1") : QString());
        QCOMPARE(node->sortedAttributeNames(), attributeStrings ? QStringLiteral("ab") : QString());
        QCOMPARE(node->attributeList().size(), attributeStrings);
        QVERIFY(node->contentString(false, false, false).startsWith(fingerprintHead));

        QVERIFY(!node->children());
        QVERIFY(!node->hasChildren());
        QCOMPARE(bool(node->appendMark(QStringLiteral("m"))), element);
        auto* const child = new Zovtextnode(QStringLiteral("c"), Text);
        if (node->appendChild(child)) {
            QVERIFY(element);
            QCOMPARE(node->children()->size(), 2);
            QCOMPARE(node->children()->constLast(), child);
            QCOMPARE(node->findPath({ QStringLiteral("c") }), nullptr);
            QCOMPARE(node->descendantAttributeText(false), QString());
        } else {
            QVERIFY(!element);
            QVERIFY(!node->children());
            Zovnode::destroy(child);
        }
        Zovnode* const copy = node->copyWithoutChildren();
        QCOMPARE(bool(copy), kind == Attrelement);
        if (copy)
            QCOMPARE(copy->attributeText(), node->attributeText());
        Zovnode::destroy(copy);
        Zovnode::destroy(node);
    }

    // Elements with the same attribute names in the same order share one array of names; a
    // change to one element's attributes leaves the others alone.
    void childListsGrowFromEveryStart_data()
    {
        QTest::addColumn<int>("adopted");
        QTest::addColumn<bool>("squeeze");
        QTest::newRow("empty") << 0 << false;
        QTest::newRow("one adopted child") << 1 << false;
        QTest::newRow("three in the arena") << 3 << false;
        QTest::newRow("three in the arena, squeezed on the way") << 3 << true;
        QTest::newRow("empty, squeezed on the way") << 0 << true;
    }

    // Appends must keep every child in order whether the list started in place, in the arena
    // or in an exact array; the sanitizer build catches a lost or doubly freed array.
    void childListsGrowFromEveryStart()
    {
        QFETCH(int, adopted);
        QFETCH(bool, squeeze);
        Nodearena arena;
        auto* const element = Zovnode::inArena<Zovelementnode>(arena, QStringLiteral("e"));
        QVector<Zovnode*> expected;
        for (int i = 0; i < adopted; ++i)
            expected.append(Zovnode::inArena<Zovtextnode>(arena, QString::number(i), Text));
        Zovnode** const array = static_cast<Zovnode**>(
            arena.allocate(sizeof(Zovnode*) * size_t(qMax(adopted, 1)), alignof(Zovnode*)));
        std::copy(expected.cbegin(), expected.cend(), array);
        element->adoptChildren(array, adopted);
        for (int i = adopted; i < 40; ++i) {
            expected.append(element->appendChild(new Zovtextnode(QString::number(i), Text)));
            if (squeeze && (i == 2 || i == 5 || i == 16))
                element->squeezeChildren();
            const Childspan children = element->children();
            QCOMPARE(QVector<Zovnode*>(children.begin(), children.end()), expected);
        }
        Zovnode* const released = element->releaseChild(1);
        QCOMPARE(released, expected.at(1));
        QCOMPARE(element->children()->at(1), nullptr);
        QCOMPARE(element->children()->size(), 40);
        Zovnode::destroy(released);
        Zovnode::destroy(element);
    }

    void sharedAttributeNamesAreNotTied()
    {
        const auto tree = loadXml(
            "<r><e a=\"1\" b=\"2\"/><e a=\"3\" b=\"4\"/><e b=\"5\" a=\"6\"/><e a=\"7\"/></r>");
        const Childspan e = tree->root()->children();
        QCOMPARE(e.size(), 4);
        QCOMPARE(e[2]->attributeList(), QStringList({ "b", "5", "a", "6" }));
        QCOMPARE(e[3]->attributeList(), QStringList({ "a", "7" }));

        e[0]->setAttributeList({ "c", "8" });
        QCOMPARE(e[0]->attributeList(), QStringList({ "c", "8" }));
        QCOMPARE(e[1]->attributeList(), QStringList({ "a", "3", "b", "4" }));
        QCOMPARE(e[1]->attributeValue(QStringLiteral("b")), QStringLiteral("4"));
        Zovnode* const copy = Zovnode::shallowCopy(e[1], &tree->arena());
        QCOMPARE(copy->attributeList(), e[1]->attributeList());
        Zovnode::destroy(copy);
    }

    void linkPartnerLinksOnce()
    {
        Zovtextnode a(QStringLiteral("a"), Text);
        Zovtextnode b(QStringLiteral("b"), Text);
        Zovtextnode c(QStringLiteral("c"), Text);
        a.linkPartner(&b);
        a.linkPartner(&c);
        c.linkPartner(&a);
        QCOMPARE(a.partner(), &b);
        QCOMPARE(b.partner(), &a);
        QCOMPARE(c.partner(), &a);
    }

    void elementFingerprintGivesWayToPartner()
    {
        const QString strings[] = { QStringLiteral("k"), QStringLiteral("v") };
        Zovelementnode a(QStringLiteral("a"));
        Zovattrelementnode b(QStringLiteral("b"), 2, strings);
        a.setFingerprint(41);
        b.setFingerprint(42);
        QCOMPARE(a.fingerprint(), size_t(41));
        QCOMPARE(b.fingerprint(), size_t(42));
        QVERIFY(!a.partner());
        QVERIFY(!b.partner());
        a.linkPartner(&b);
        QCOMPARE(a.partner(), &b);
        QCOMPARE(b.partner(), &a);
        // A late fingerprint must not overwrite the link.
        a.setFingerprint(7);
        b.setFingerprint(8);
        QCOMPARE(a.partner(), &b);
        QCOMPARE(b.partner(), &a);
    }

    void emptyAttributeListKeepsKind()
    {
        const auto tree = loadXml("<e k=\"v\"/>");
        Zovnode* const root = tree->root();
        root->setAttributeList({});
        QCOMPARE(root->kind(), Attrelement);
        QVERIFY(!root->hasAttributes());
        QCOMPARE(root->contentString(false, false, false), fingerprintOf("<e/>"));
    }

    void textSplitByOtherNodesStaysSplit()
    {
        const auto tree = loadXml("<a>x<!--c-->y<![CDATA[z]]>w</a>");
        QVector<Nodekind> kinds;
        for (const Zovnode* child : *tree->root()->children())
            kinds << child->kind();
        QCOMPARE(kinds, QVector<Nodekind>({ Text, Comment, Text, Cdata, Text }));
    }

    void setRoot()
    {
        const auto source = loadXml("<a k=\"v\"><b/></a>");
        Zovtextnode partner(QStringLiteral("p"), Text);
        source->root()->linkPartner(&partner);
        Zovtree result;
        QCOMPARE(result.setRoot(source->root()), 0);
        QCOMPARE(result.root()->contentString(false, false, false), fingerprintOf("<a k=\"v\"/>"));
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
        const Childspan children = tree->root()->children();
        QCOMPARE(children.size(), 9000);
        for (int i = 0; i < 9000; ++i) {
            QCOMPARE(children[i]->text(), QStringLiteral("e%1").arg(i));
            QCOMPARE(children[i]->attributeString(1), QString::number(i));
        }
    }
};

QTEST_GUILESS_MAIN(Tst_zovtree)
#include "tst_zovtree.moc"
