#include "output/prolog.h"

#include <QBuffer>
#include <QStringEncoder>
#include <QTest>

namespace {

QString prologOf(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return readPrologText(&buffer);
}

QByteArray encoded(const QString& text, QStringConverter::Encoding encoding, bool bom)
{
    QStringEncoder encoder(
        encoding, bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return encoder.encode(text);
}

} // namespace

class Tst_prolog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void stopsAtDocumentElement_data()
    {
        QTest::addColumn<QString>("document");
        QTest::addColumn<QString>("prolog");
        const auto row = [](const char* name, const char* document, const char* prolog) {
            QTest::newRow(name) << QString(document) << QString(prolog);
        };
        row("no prolog", "<r/>", "");
        row("comment holding a tag", "<!-- see <b> and <?x?> -->\n<r/>",
            "<!-- see <b> and <?x?> -->\n");
        row("instruction holding a tag", "<?pi a<b?><r/>", "<?pi a<b?>");
        row("doctype with internal subset",
            "<!DOCTYPE r [\n<!ELEMENT r (#PCDATA)>\n<!ENTITY e \"<x>\">\n<!-- ] > -->\n"
            "<!ATTLIST r a CDATA '>'>\n]>\n<r/>",
            "<!DOCTYPE r [\n<!ELEMENT r (#PCDATA)>\n<!ENTITY e \"<x>\">\n<!-- ] > -->\n"
            "<!ATTLIST r a CDATA '>'>\n]>\n");
        row("doctype with system id", "<!DOCTYPE r SYSTEM \"r>.dtd\"><r/>",
            "<!DOCTYPE r SYSTEM \"r>.dtd\">");
        row("line endings kept", "<?xml version='1.0'?>\r\n<r/>", "<?xml version='1.0'?>\r\n");
        row("no document element", "<!-- only -->", "<!-- only -->");
    }
    void stopsAtDocumentElement()
    {
        QFETCH(QString, document);
        QFETCH(QString, prolog);
        QCOMPARE(prologOf(document.toUtf8()), prolog);
    }

    void longPrologAcrossChunks()
    {
        const QString comment
            = QStringLiteral("<!-- ") + QString(40000, QChar(0x00e9)) + QStringLiteral(" <x> -->");
        QCOMPARE(prologOf((comment + QStringLiteral("<r/>")).toUtf8()), comment);
    }

    void readsOnlyUpToTheDocumentElement()
    {
        QBuffer buffer;
        buffer.setData("<?xml version=\"1.0\"?><r>" + QByteArray(1 << 20, 'x') + "</r>");
        buffer.open(QIODevice::ReadOnly);
        readPrologText(&buffer);
        QVERIFY(buffer.pos() < (1 << 20));
    }

    void decodesWithTheDocumentsEncoding_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("prolog");
        const QString text = QStringLiteral("<!-- caf\u00e9 \u00fc\u00df -->\n");
        const QString utf16Declaration
            = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>");
        QTest::newRow("utf-8") << (text + "<r/>").toUtf8() << text;
        QTest::newRow("utf-8 with byte-order mark")
            << encoded(text + "<r/>", QStringConverter::Utf8, true) << text;
        const QString latin1Declaration
            = QStringLiteral("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n");
        QTest::newRow("iso-8859-1")
            << (latin1Declaration + text + "<r/>").toLatin1() << latin1Declaration + text;
        QTest::newRow("iso-8859-1 in single quotes")
            << QString("<?xml version='1.0' encoding='latin1'?>" + text + "<r/>").toLatin1()
            << "<?xml version='1.0' encoding='latin1'?>" + text;
        QTest::newRow("utf-16le with byte-order mark") << encoded(utf16Declaration + text + "<r/>",
            QStringConverter::Utf16LE, true) << utf16Declaration + text;
        QTest::newRow("utf-16le without byte-order mark")
            << encoded(utf16Declaration + text + "<r/>", QStringConverter::Utf16LE, false)
            << utf16Declaration + text;
        QTest::newRow("character outside the basic plane")
            << QStringLiteral("<!-- \U0001F600 --><r/>").toUtf8()
            << QStringLiteral("<!-- \U0001F600 -->");
    }
    void decodesWithTheDocumentsEncoding()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, prolog);
        QCOMPARE(prologOf(bytes), prolog);
    }

    void declareUtf8_data()
    {
        QTest::addColumn<QString>("prolog");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* name, const char* prolog, const char* expected) {
            QTest::newRow(name) << QString(prolog) << QString(expected);
        };
        row("double quotes",
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>\n<!-- encoding=\"x\" -->\n",
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!-- encoding=\"x\" -->\n");
        row("single quotes and blanks",
            "<?xml version='1.0' encoding = 'UTF-16' standalone='yes'?>",
            "<?xml version='1.0' encoding = 'UTF-8' standalone='yes'?>");
        row("no encoding named", "<?xml version=\"1.0\"?>\n", "<?xml version=\"1.0\"?>\n");
        row("no declaration", "<!-- encoding=\"latin1\" -->", "<!-- encoding=\"latin1\" -->");
    }
    void declareUtf8()
    {
        QFETCH(QString, prolog);
        QFETCH(QString, expected);
        QCOMPARE(::declareUtf8(prolog), expected);
    }
};

QTEST_GUILESS_MAIN(Tst_prolog)
#include "tst_prolog.moc"
