#pragma once

#include <QString>
#include <functional>

class QIODevice;

// How saving a file whole ended.
enum class Saveresult {
    Saved,
    OpenFailed, // neither a temporary file nor the file itself could be opened; nothing changed
    WriteFailed, // writing failed; the earlier file is kept (or, written in place, put back)
};

// Writes path whole: into a temporary file renamed over path once complete, so a failure leaves
// the earlier file. Where the folder refuses a temporary file but path exists and is writable,
// path is written in place, and a failure then puts the earlier contents back (files of up to
// 256 MiB; a larger one is emptied rather than left half written). fill writes the contents and
// returns an error text, empty on success. Returns the outcome; reason gets the error text.
Saveresult saveWhole(
    const QString& path, const std::function<QString(QIODevice*)>& fill, QString* reason);
