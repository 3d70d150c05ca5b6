#include "model/zovtree.h"
#include "xmltext.h"

#include <QtTest>

namespace {

// Loads xml with a parse log; returns the log text and the tree's fingerprint.
struct Logged {
    QString error;
    QString log;
    QString fingerprint;
    bool logClosed = false;
};

Logged loadLogged(const QByteArray& xml)
{
    QBuffer input;
    input.setData(xml);
    input.open(QIODevice::ReadOnly);
    QBuffer logDevice;
    logDevice.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    Zovtree tree;
    Logged result;
    result.error = tree.loadWithLog(&input, &logDevice);
    result.logClosed = !logDevice.isOpen();
    result.log = QString::fromUtf8(logDevice.data());
    if (tree.root())
        result.fingerprint = tree.root()->contentString(false, false, false);
    return result;
}

const QString noDeclaration
    = QStringLiteral(":documentEncoding :documentVersion :isStandaloneDocument false ");
const QString version10
    = QStringLiteral(":documentEncoding :documentVersion 1.0:isStandaloneDocument false ");

} // namespace

class Tst_parselog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void logText_data();
    void logText();
    void debugLines();
};

void Tst_parselog::logText_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("log");
    QTest::addColumn<bool>("fails");

    QTest::newRow("declaration with encoding")
        << QByteArray("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<a k=\"v\">t<b/></a>")
        << ":documentEncoding UTF-8:documentVersion 1.0:isStandaloneDocument false " << false;
    QTest::newRow("standalone declaration")
        << QByteArray("<?xml version=\"1.0\" standalone=\"yes\"?><a/>")
        << ":documentEncoding :documentVersion 1.0:isStandaloneDocument true " << false;
    QTest::newRow("no declaration")
        << QByteArray("<a><!--c--><?p d?></a>") << noDeclaration << false;
    QTest::newRow("dtd with declarations")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE a [<!NOTATION n SYSTEM \"n.txt\">"
                      "<!ENTITY e \"h\xc3\xa9\"><!ENTITY u SYSTEM \"u.bin\" NDATA n>]><a>&e;</a>")
        << version10
            + QStringLiteral(":DTD <!DOCTYPE a [<!NOTATION n SYSTEM \"n.txt\">"
                             "<!ENTITY e \"h\u00e9\"><!ENTITY u SYSTEM \"u.bin\" NDATA n>]>"
                             ":NotationDeclaration name n:NotationDeclaration publicId "
                             ":NotationDeclaration systemId n.txt"
                             ":EntityDeclaration name e:EntityDeclaration notationName "
                             ":EntityDeclaration publicId :EntityDeclaration systemId "
                             ":EntityDeclaration value h\u00e9"
                             ":EntityDeclaration name u:EntityDeclaration notationName n"
                             ":EntityDeclaration publicId :EntityDeclaration systemId u.bin"
                             ":EntityDeclaration value ")
        << false;
    // Namespace processing is off, so the reader reports no namespace information at all.
    QTest::newRow("namespaces") << QByteArray(
        "<?xml version=\"1.0\"?><p:a xmlns:p=\"urn:p\" xmlns=\"urn:d\"><p:b/><c/></p:a>")
                                << version10 << false;
    QTest::newRow("failing parse")
        << QByteArray("<?xml version=\"1.0\"?><!DOCTYPE a [<!ENTITY e \"x\">]><a><b></a>")
        << version10
            + QStringLiteral(":DTD <!DOCTYPE a [<!ENTITY e \"x\">]>"
                             ":EntityDeclaration name e:EntityDeclaration notationName "
                             ":EntityDeclaration publicId :EntityDeclaration systemId "
                             ":EntityDeclaration value x")
        << true;
    QTest::newRow("empty input") << QByteArray() << QString() << true;
}

void Tst_parselog::logText()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, log);
    QFETCH(bool, fails);

    const Logged logged = loadLogged(xml);
    QCOMPARE(logged.log, log);
    QCOMPARE(!logged.error.isEmpty(), fails);
    QVERIFY(logged.logClosed);

    // The log must not change what is built.
    QString plainError;
    const auto plain = loadXml(xml, &plainError);
    QCOMPARE(logged.error, plainError);
    QCOMPARE(logged.fingerprint,
        plain->root() ? plain->root()->contentString(false, false, false) : QString());
}

void Tst_parselog::debugLines()
{
    QTest::ignoreMessage(QtDebugMsg, "StartDocument");
    QTest::ignoreMessage(QtDebugMsg, "EndElement");
    QTest::ignoreMessage(QtDebugMsg, "EndElement");
    const Logged logged = loadLogged("<a><b/></a>");
    QCOMPARE(logged.log, noDeclaration);
}

QTEST_GUILESS_MAIN(Tst_parselog)
#include "tst_parselog.moc"
