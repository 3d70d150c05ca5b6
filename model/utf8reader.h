#pragma once

#include <QString>

class QIODevice;
class Treebuilder;

// Reads a UTF-8 document from the current position of device into builder, several times
// faster than QXmlStreamReader and with the same nodes. It reads only what it can check as
// QXmlStreamReader does: anything else (another encoding, a document type declaration with an
// internal subset, entity references beyond the predefined ones, names beyond ASCII, or any
// error) makes it decline, and the caller must discard the builder and read again with
// QXmlStreamReader, which also words the error. Returns true when the whole document was read;
// encoding then holds the encoding named by the XML declaration (empty when it named none).
bool readUtf8Document(QIODevice* device, Treebuilder& builder, QString& encoding);
