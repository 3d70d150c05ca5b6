#include "output/savefile.h"

#include <QFileInfo>
#include <QSaveFile>

namespace {

// Fills device and pushes buffered data out; returns the empty string or the error text.
QString fillAndFlush(QFileDevice& device, const std::function<QString(QIODevice*)>& fill)
{
    const QString error = fill(&device);
    if (!error.isEmpty())
        return error;
    // Buffered data may meet a full disk only now.
    if (!device.flush() || device.error() != QFileDevice::NoError)
        return device.errorString();
    return QString();
}

Saveresult saveInPlace(
    const QString& path, const std::function<QString(QIODevice*)>& fill, QString* reason)
{
    constexpr qint64 backupLimit = qint64(256) << 20;
    QFile file(path);
    QByteArray backup;
    const bool backedUp = file.size() <= backupLimit && file.open(QIODevice::ReadOnly);
    if (backedUp) {
        backup = file.readAll();
        file.close();
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        *reason = file.errorString();
        return Saveresult::OpenFailed;
    }
    *reason = fillAndFlush(file, fill);
    if (reason->isEmpty())
        return Saveresult::Saved;
    // Half a file would pass for a whole one.
    file.unsetError();
    file.seek(0);
    file.resize(0);
    if (backedUp) {
        file.write(backup);
        file.flush();
    }
    return Saveresult::WriteFailed;
}

} // namespace

Saveresult saveWhole(
    const QString& path, const std::function<QString(QIODevice*)>& fill, QString* reason)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        const QFileInfo info(path);
        if (info.isFile() && info.isWritable())
            return saveInPlace(path, fill, reason);
        *reason = file.errorString();
        return Saveresult::OpenFailed;
    }
    *reason = fillAndFlush(file, fill);
    if (reason->isEmpty() && !file.commit())
        *reason = file.errorString();
    if (reason->isEmpty())
        return Saveresult::Saved;
    file.cancelWriting();
    return Saveresult::WriteFailed;
}
