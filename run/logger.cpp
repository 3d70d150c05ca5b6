#include "run/logger.h"

#include <QIODevice>
#include <QMutexLocker>
#include <QTime>

Logger& Logger::instance()
{
    static Logger logger;
    return logger;
}

void Logger::write(const QString& message, int level, int target)
{
    const bool toFile = target == FileAndWindow || target == FileOnly;
    const bool toWindow = target == FileAndWindow || target == WindowOnly;
    // One time stamp for both outputs so the two lines of a call agree.
    const QString time = QTime::currentTime().toString(Qt::TextDate);
    const QString word = levelWord(level);

    Logsink* window = nullptr;
    {
        const QMutexLocker lock(&m_mutex);
        if (m_state == 1)
            return;
        if (toFile && m_device)
            m_stream << time << QLatin1String("  ") << message << QLatin1String("    ") << word
                     << QLatin1Char('\n');
        if (toWindow)
            window = m_window;
    }
    // The window is touched only by the thread that writes window lines, outside the lock so a
    // slow window never holds up the writer thread's file lines.
    if (window)
        window->appendLine(
            time + QLatin1String("  ") + message + QLatin1String("  ") + word + QLatin1Char('\n'));
}

bool Logger::attachWindow(Logsink* window)
{
    const QMutexLocker lock(&m_mutex);
    if (m_window)
        return false;
    m_window = window;
    return true;
}

void Logger::detachWindow(Logsink* window)
{
    const QMutexLocker lock(&m_mutex);
    if (m_window == window)
        m_window = nullptr;
}

void Logger::setDevice(QIODevice* device)
{
    const QMutexLocker lock(&m_mutex);
    m_device = device;
    m_stream.setDevice(device);
}

void Logger::flush()
{
    const QMutexLocker lock(&m_mutex);
    if (m_device)
        m_stream.flush();
}

void Logger::setState(int state)
{
    const QMutexLocker lock(&m_mutex);
    m_state = state;
}

int Logger::state() const
{
    const QMutexLocker lock(&m_mutex);
    return m_state;
}

QString Logger::levelWord(int level)
{
    switch (level) {
    case Start:
        return QStringLiteral("Start");
    case Info:
        return QStringLiteral("Info");
    case Warning:
        return QStringLiteral("Warning");
    case Error:
        return QStringLiteral("Error");
    default:
        return QString();
    }
}
