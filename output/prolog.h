#pragma once

#include <QString>

class QIODevice;

// Everything before the document element's start tag, decoded with the document's own
// encoding (byte-order mark, else XML declaration, else UTF-8). Comments, processing
// instructions and the document type declaration may hold "<" without ending it. Reads only as
// far as needed; the whole text when no start tag follows.
QString readPrologText(QIODevice* device);
// The prolog with the encoding named in its XML declaration replaced by UTF-8, the encoding the
// result file is written in. Unchanged when it has no declaration or names no encoding.
QString declareUtf8(const QString& prolog);
