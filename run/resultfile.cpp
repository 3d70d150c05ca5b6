#include "run/diffscenario.h"

#include "config/cfgstore.h"
#include "model/zovtree.h"
#include "output/prolog.h"
#include "output/resultwriter.h"
#include "output/savefile.h"
#include "run/logger.h"

namespace {

void fileInfo(const QString& message)
{
    Logger::instance().write(message, Logger::Info, Logger::FileOnly);
}

} // namespace

int Diffscenario::readProlog()
{
    QFile file(m_file2.fileName());
    if (!file.open(QIODevice::ReadOnly))
        return -1020;
    m_prolog = readPrologText(&file);
    file.close();
    return 0;
}

QString Diffscenario::resultPath() const
{
    if (!m_resultPath.isEmpty())
        return m_resultPath;
    return resultFileName(
        Cfgstore::instance().getString(QStringLiteral("addname_result")), m_file2.fileName());
}

QString Diffscenario::writeResult(QIODevice* device)
{
    QByteArray prolog = declareUtf8(m_prolog).toUtf8();
    // Human-readable output puts the document element on a line of its own.
    if (Cfgstore::instance().getInt(QStringLiteral("savemode")) == 1 && !prolog.isEmpty()
        && !prolog.endsWith('\n'))
        prolog += '\n';
    if (device->write(prolog) != prolog.size())
        return device->errorString();
    if (m_resultTree)
        m_resultTree->write(device);
    // Buffered data may meet a full disk only now; a save file's commit would not notice.
    auto* file = qobject_cast<QFileDevice*>(device);
    if (file && (!file->flush() || file->error() != QFileDevice::NoError))
        return file->errorString();
    return QString();
}

QString Diffscenario::writeResultFile()
{
    // An explicit result path is written even when the configuration turns the file off.
    if (m_resultPath.isEmpty() && !Cfgstore::instance().getBool(QStringLiteral("writeresultfile")))
        return QString();
    const QString name = resultPath();
    if (isInputFile(name, m_file1.fileName()) || isInputFile(name, m_file2.fileName())) {
        const QString text
            = QStringLiteral("Result file %1 would overwrite an input file").arg(name);
        fileInfo(text);
        m_lastError = text;
        return text;
    }

    // The result replaces an earlier one only once it is complete.
    QString reason;
    const Saveresult saved = saveWhole(
        name,
        [&](QIODevice* device) {
            fileInfo(QStringLiteral("Writing result file to ") + name);
            fileInfo(QStringLiteral("Using encoding ") + QStringLiteral("UTF-8"));
            return writeResult(device);
        },
        &reason);
    if (saved != Saveresult::Saved) {
        const QString text = saved == Saveresult::OpenFailed
            ? QStringLiteral("Could not open file ") + name
            : QStringLiteral("Could not write file ") + name + QStringLiteral(": ") + reason;
        fileInfo(text);
        m_lastError = text;
        return text;
    }
    fileInfo(QStringLiteral("Writing result file finished."));
    return QString();
}
