#include "run/logger.h"

#include <QBuffer>
#include <QRegularExpression>
#include <QThread>
#include <QtTest>

#include <memory>

namespace {

class Recorder : public Logsink {
public:
    void appendLine(const QString& line) override { lines.append(line); }
    QStringList lines;
};

const QRegularExpression timePrefix(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d  "));

} // namespace

class TestLogger : public QObject {
    Q_OBJECT

private:
    Recorder m_window;
    QBuffer m_file;

    QStringList fileLines()
    {
        Logger::instance().flush();
        return QString::fromUtf8(m_file.data()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(Logger::instance().attachWindow(&m_window)); }

    void init()
    {
        m_window.lines.clear();
        Logger::instance().setDevice(nullptr);
        m_file.close();
        m_file.setData(QByteArray());
        QVERIFY(m_file.open(QIODevice::WriteOnly));
        Logger::instance().setDevice(&m_file);
        Logger::instance().setState(0);
    }

    void secondWindowIsRefused()
    {
        Recorder other;
        QVERIFY(!Logger::instance().attachWindow(&other));
        Logger::instance().detachWindow(&other);
        Logger::instance().write(QStringLiteral("still here"), Logger::Info, Logger::WindowOnly);
        QCOMPARE(m_window.lines.size(), 1);
        QVERIFY(other.lines.isEmpty());
    }

    void lineFormats_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("target");
        QTest::addColumn<QString>("fileTail");
        QTest::addColumn<QString>("windowTail");

        const auto row = [](const char* name, int level, int target, const char* fileTail,
                             const char* windowTail) {
            QTest::newRow(name) << level << target << QString(fileTail) << QString(windowTail);
        };
        row("start to both", 0, 0, "m    Start", "m  Start\n");
        row("warning to file", 2, 1, "m    Warning", "");
        row("error to window", 3, 2, "", "m  Error\n");
        row("unknown level has no word", 9, 0, "m    ", "m  \n");
    }

    void lineFormats()
    {
        QFETCH(int, level);
        QFETCH(int, target);
        QFETCH(QString, fileTail);
        QFETCH(QString, windowTail);

        Logger::instance().write(QStringLiteral("m"), level, target);

        const QString file = QString::fromUtf8((Logger::instance().flush(), m_file.data()));
        if (fileTail.isEmpty()) {
            QVERIFY(file.isEmpty());
        } else {
            QVERIFY2(timePrefix.match(file).hasMatch(), qPrintable(file));
            QCOMPARE(file.mid(10), fileTail + QLatin1Char('\n'));
        }
        if (windowTail.isEmpty()) {
            QVERIFY(m_window.lines.isEmpty());
        } else {
            QCOMPARE(m_window.lines.size(), 1);
            QVERIFY(timePrefix.match(m_window.lines.first()).hasMatch());
            QCOMPARE(m_window.lines.first().mid(10), windowTail);
        }
    }

    void closedLogDropsEverything()
    {
        Logger::instance().setState(1);
        QCOMPARE(Logger::instance().state(), 1);
        for (int target = 0; target <= 2; ++target)
            Logger::instance().write(QStringLiteral("dropped"), Logger::Info, target);
        QVERIFY(fileLines().isEmpty());
        QVERIFY(m_window.lines.isEmpty());

        Logger::instance().setState(0);
        Logger::instance().write(QStringLiteral("kept"), Logger::Info, Logger::FileAndWindow);
        QCOMPARE(fileLines().size(), 1);
        QCOMPARE(m_window.lines.size(), 1);
    }

    void withoutDeviceOnlyTheWindowReceives()
    {
        Logger::instance().setDevice(nullptr);
        Logger::instance().write(QStringLiteral("no file"), Logger::Info, Logger::FileAndWindow);
        Logger::instance().flush();
        QVERIFY(m_file.data().isEmpty());
        QCOMPARE(m_window.lines.size(), 1);
    }

    void fileLinesAreBufferedUntilFlush()
    {
        Logger::instance().write(QStringLiteral("buffered"), Logger::Info, Logger::FileOnly);
        QVERIFY(m_file.data().isEmpty());
        Logger::instance().flush();
        QVERIFY(m_file.data().endsWith("buffered    Info\n"));
    }

    void concurrentWritersNeverInterleave()
    {
        const int perThread = 2000;
        const auto writer = [](const QString& tag) {
            for (int i = 0; i < perThread; ++i)
                Logger::instance().write(
                    tag + QLatin1Char(' ') + QString::number(i), Logger::Info, Logger::FileOnly);
        };
        std::unique_ptr<QThread> first(QThread::create(writer, QStringLiteral("first")));
        std::unique_ptr<QThread> second(QThread::create(writer, QStringLiteral("second")));
        first->start();
        second->start();
        int windowLines = 0;
        while (!first->isFinished() || !second->isFinished() || windowLines < 200) {
            Logger::instance().write(QStringLiteral("gui"), Logger::Info, Logger::WindowOnly);
            Logger::instance().flush();
            ++windowLines;
        }
        QVERIFY(first->wait());
        QVERIFY(second->wait());

        const QRegularExpression line(
            QStringLiteral("^\\d\\d:\\d\\d:\\d\\d  (first|second) (\\d+)    Info$"));
        int next[2] = { 0, 0 };
        const QStringList lines = fileLines();
        QCOMPARE(lines.size(), 2 * perThread);
        for (const QString& text : lines) {
            const QRegularExpressionMatch match = line.match(text);
            QVERIFY2(match.hasMatch(), qPrintable(text));
            const int writerIndex = match.captured(1) == QLatin1String("first") ? 0 : 1;
            QCOMPARE(match.captured(2).toInt(), next[writerIndex]++);
        }
        QCOMPARE(m_window.lines.size(), windowLines);
        for (const QString& text : m_window.lines)
            QVERIFY(text.endsWith(QLatin1String("  gui  Info\n")));
    }
};

QTEST_GUILESS_MAIN(TestLogger)
#include "tst_logger.moc"
