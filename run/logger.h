#pragma once

#include <QMutex>
#include <QString>
#include <QTextStream>

class QIODevice;

// Where window lines go; the GUI attaches its log window, tests attach a recorder.
class Logsink {
public:
    virtual ~Logsink() = default;
    // Receives one complete line, ending in a line feed.
    virtual void appendLine(const QString& line) = 0;
};

// The process-wide log: each line goes to the current run's log file, to the log window, or
// both. File writes and flushes are serialised so the writer thread and the GUI thread never
// interleave.
class Logger {
public:
    enum Level { Start = 0, Info = 1, Warning = 2, Error = 3, Plain = 4 };
    enum Target { FileAndWindow = 0, FileOnly = 1, WindowOnly = 2 };

    static Logger& instance();

    // Writes "hh:mm:ss  message    Level" to the file and "hh:mm:ss  message  Level" to the
    // window, as target says; does nothing while the log is closed.
    void write(const QString& message, int level, int target);
    // Remembers the window; false (and no change) when one is attached already.
    bool attachWindow(Logsink* window);
    // Forgets the window if it is the attached one.
    void detachWindow(Logsink* window);
    // Points the file part at an open device; null detaches.
    void setDevice(QIODevice* device);
    void flush();
    // 0 opens the log, 1 closes it.
    void setState(int state);
    int state() const;

    static QString levelWord(int level);

private:
    Logger() = default;

    mutable QMutex m_mutex;
    int m_state = 0;
    QIODevice* m_device = nullptr;
    Logsink* m_window = nullptr;
    QTextStream m_stream;
};
