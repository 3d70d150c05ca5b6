#include "../testfiles.h"
#include "boxcatcher.h"
#include "script.h"

#include "app/mainwindow.h"
#include "compare/changekind.h"
#include "config/cfgstore.h"
#include "gui/cfgdialog.h"
#include "gui/summarybar.h"
#include "gui/vtreeitem.h"
#include "gui/zovvisual.h"
#include "run/logger.h"
#include "run/runthread.h"
#include "run/writethread.h"

#include <QActionGroup>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

// A document of count items; items whose index is a multiple of step get another value.
QByteArray largeDocument(int count, int step)
{
    QByteArray text = "<list>";
    for (int i = 0; i < count; ++i)
        text += "<item n=\"" + QByteArray::number(i) + "\">" + QByteArray::number(i % step ? i : -i)
            + "</item>\n";
    return text + "</list>\n";
}

QString orDash(const QString& text) { return text.isEmpty() ? QStringLiteral("-") : text; }

bool isCompleteXml(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QXmlStreamReader reader(&file);
    while (!reader.atEnd())
        reader.readNext();
    return !reader.hasError();
}

} // namespace

class Tst_mainwindow : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QStringList m_arguments;
    std::unique_ptr<Boxcatcher> m_catcher;
    std::unique_ptr<Mainwindow> m_window;

    Mainwindow* window(const QStringList& arguments = {})
    {
        m_arguments = QStringList(QStringLiteral("zov")) + arguments;
        m_window = std::make_unique<Mainwindow>(&m_arguments);
        return m_window.get();
    }
    Mainwindow* withCfg() { return window({ "-cfg", m_dir.filePath("zov_cfg.xml") }); }

    static void setPaths(Mainwindow* window, const QString& path1, const QString& path2)
    {
        window->pathField1()->setText(path1);
        window->setpath1();
        window->pathField2()->setText(path2);
        window->setpath2();
    }

    // The one place that waits for a run, its result file and the view it fills.
    // A window with a pair of 20,000 items each in its fields; null when the files cannot be
    // written.
    Mainwindow* bigPair()
    {
        if (!writeTextFile(QStringLiteral("big1.xml"), largeDocument(20000, 7))
            || !writeTextFile(QStringLiteral("big2.xml"), largeDocument(20000, 5)))
            return nullptr;
        Mainwindow* w = window();
        setPaths(w, QStringLiteral("big1.xml"), QStringLiteral("big2.xml"));
        return w;
    }

    static void runToEnd(Mainwindow* window, const QString& path1, const QString& path2)
    {
        setPaths(window, path1, path2);
        window->diffButton()->click();
        QTRY_VERIFY(!window->runner() && !window->writer());
    }

    QString status() const { return m_window->statusBar()->currentMessage(); }

    QTemporaryDir m_bare;
    QString m_status;
    QString m_logAtBox;

    // Runs one script command and returns what it shows, with the boxes it caused and the
    // status message when it changed.
    QStringList run(const QString& command)
    {
        const QString verb = command.section(QLatin1Char(' '), 0, 0);
        QStringList words = command.split(QLatin1Char(' ')).mid(1);
        for (QString& word : words)
            word.replace(QLatin1String("-none-"), QString())
                .replace(QLatin1String("<dir>"), m_dir.path())
                .replace(QLatin1String("<bare>"), m_bare.path());
        if (verb != "start" && verb != "cd" && !m_window)
            return { QStringLiteral("no window") };
        Mainwindow* w = m_window.get();
        QStringList shown;
        if (verb == "cd") {
            QDir::setCurrent(words.value(0) == "bare" ? m_bare.path() : m_dir.path());
        } else if (verb == "start") {
            m_window.reset();
            m_status.clear();
            w = window(words);
            w->show();
            if (!QTest::qWaitForWindowActive(w))
                shown << QStringLiteral("window not active");
            shown << QStringLiteral("fields %1 | %2")
                         .arg(orDash(w->pathField1()->text()), orDash(w->path2()));
        } else if (verb == "write") {
            writeTextFile(words.value(0), command.section(QLatin1Char(' '), 2).toUtf8());
        } else if (verb == "diff") {
            runToEnd(w, words.value(0), words.value(1));
            shown << QLatin1String("view ")
                    + (w->view()->rightTree()->topLevelItemCount() ? "filled" : "empty");
        } else if (verb == "pick" || verb == "type") {
            QLineEdit* field = words.value(0) == "1" ? w->pathField1() : w->pathField2();
            if (verb == "type") {
                field->clear();
                QTest::keyClicks(field, words.value(1));
            }
            m_catcher->onDialog = [words](QDialog* dialog) {
                if (auto* picker = qobject_cast<QFileDialog*>(dialog)) {
                    picker->selectFile(words.value(1));
                    words.value(1) == "cancel" ? picker->reject() : picker->QDialog::accept();
                }
            };
            words.value(0) == "1" ? w->selectfile1() : w->selectfile2();
            shown << QStringLiteral("paths %1 | %2").arg(orDash(w->path1()), orDash(w->path2()));
        } else if (verb == "language") {
            QAction missing;
            missing.setData(words.value(0));
            if (words.value(0).endsWith(".qm"))
                w->switchlanguage(&missing);
            else
                w->languageGroup()->actions().value(words.value(0).toInt())->trigger();
            QStringList menus;
            for (const QAction* action : w->menuBar()->actions())
                menus << action->text();
            shown << menus.join(QLatin1Char(' ')) + " | " + w->nextAction()->text() + " | "
                    + w->view()->rightTree()->headerItem()->text(2) + " | "
                    + w->languageGroup()->checkedAction()->text();
        } else if (verb == "config") {
            w->configAction()->trigger();
            shown << QLatin1String(w->cfgdialog()->isVisible() ? "dialog open" : "dialog closed");
            if (w->cfgdialog()->widgetValues() != builtinValues())
                shown << QStringLiteral("dialog shows other values than the built-in ones");
        } else if (verb == "save") {
            w->cfgdialog()->pb_save->click();
            shown << (readTextFile(words.value(0)) == configFileText(builtinValues(), {}).toUtf8()
                    ? QLatin1String("saved the built-in values")
                    : QLatin1String("saved something else"));
        } else if (verb == "f8" || verb == "shift-f8") {
            QTest::keyClick(w, Qt::Key_F8, verb == "f8" ? Qt::NoModifier : Qt::ShiftModifier);
            const QTreeWidgetItem* item = w->view()->highlightedRight();
            shown << (item ? item->text(0) + " (" + item->text(2) + ")" : "-")
                    + (item == w->view()->rightTree()->currentItem() ? "" : " not current");
        } else if (verb == "choose") {
            w->summarybar()->button(words.value(0).toInt())->click();
        } else if (verb == "top") {
            QTreeWidgetItem* root = w->view()->rightTree()->topLevelItem(0);
            w->view()->rightTree()->collapseItem(root);
            w->view()->bitemclicked(root, 0);
        } else {
            shown << QLatin1String("unknown command ") + verb;
        }
        for (const Boxcatcher::Box& box : std::exchange(m_catcher->boxes, {})) {
            shown << QStringLiteral("box %1: %2")
                         .arg(box.icon == QMessageBox::Critical ? "critical" : "warning",
                             QString(box.text).replace('\n', "\\n"))
                    + (box.title == Mainwindow::boxTitle() && box.parent == w ? "" : " (not ours)")
                    + m_logAtBox;
        }
        if (w && w->statusBar()->currentMessage() != m_status) {
            m_status = w->statusBar()->currentMessage();
            shown << QLatin1String("status ") + (m_status.isEmpty() ? "cleared" : m_status);
        }
        for (QString& line : shown) {
            line.replace(m_bare.path(), QLatin1String("<bare>"))
                .replace(m_dir.path(), QLatin1String("<dir>"));
        }
        return shown;
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QVERIFY(writeTextFile("zov_cfg.xml", configFileText(builtinValues(), {}).toUtf8()));
        QVERIFY(QDir().mkdir(QStringLiteral("zov4translations")));
        for (const char* file : { "zov_de.qm", "zov_fr.qm" }) {
            QVERIFY(QFile::copy(
                QStringLiteral(ZOV_QM_DIR "/") + file, QStringLiteral("zov4translations/") + file));
        }
        for (const char* name : { "old.xml", "new.xml" })
            QVERIFY(QFile::copy(QStringLiteral(ZOV_TEST_DATA "/") + name, name));
        QVERIFY(writeTextFile(QStringLiteral("broken.xml"), "<a><b></a>"));
    }

    void init()
    {
        // Each window starts like a fresh program: settings not read yet, log open for the window.
        Cfgstore::instance().setPath(QString());
        Cfgstore::instance().clear();
        Logger::instance().setState(0);
        m_catcher = std::make_unique<Boxcatcher>();
        // A box that points to the log file must find the run's error there.
        m_catcher->onBox = [this] {
            m_logAtBox.clear();
            if (m_catcher->boxes.last().icon != QMessageBox::Critical)
                return;
            const QByteArray log = readTextFile(m_dir.filePath(QStringLiteral("zov_log.txt")));
            const qsizetype at = log.lastIndexOf("  Error");
            m_logAtBox = at < 0 ? QString()
                                : QLatin1String(" | log: ")
                    + QString::fromUtf8(
                        log.mid(log.lastIndexOf('\n', at) + 1, at - log.lastIndexOf('\n', at) - 1))
                          .section(QLatin1Char(' '), 1)
                          .trimmed();
        };
    }

    void script_data() { addScripts("window"); }

    void script()
    {
        QFETCH(QString, path);
        runScript(path, [this](const QString& command) { return run(command); });
    }

    void cleanup()
    {
        m_window.reset();
        m_catcher.reset();
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }

    void runOnTheWorker()
    {
        QFile::remove(QStringLiteral("new_zov.xml"));
        Mainwindow* w = withCfg();
        setPaths(w, QStringLiteral("old.xml"), QStringLiteral("new.xml"));
        w->diff();
        // diff returns at once; the run goes on while the window answers events, and nothing
        // that reads the settings can be used meanwhile.
        QVERIFY(w->runner() && !w->progressBar()->isHidden());
        QVERIFY(!w->diffButton()->isEnabled() && !w->configAction()->isEnabled());
        QVERIFY(!w->nextAction()->isEnabled() && !w->languageMenu()->isEnabled());
        w->config();
        QVERIFY(!w->cfgdialog());
        QTRY_VERIFY(w->view()->rightTree()->topLevelItem(0));
        QVERIFY(w->progressBar()->isHidden() && w->nextAction()->isEnabled());
        QCOMPARE(status(), QStringLiteral("Comparison finished."));
        QTRY_VERIFY(w->diffButton()->isEnabled() && w->configAction()->isEnabled());
        QVERIFY(isCompleteXml(QStringLiteral("new_zov.xml")));
        QVERIFY(m_catcher->boxes.isEmpty());
        // Lines the worker logged came through to the window, in order.
        const QString log = w->logWindow()->toPlainText();
        qsizetype at = 0;
        for (const char* line : { "Path to configuration file:", "Starting tree compare process",
                 "Comparison finished.  Info", "Starting to write result file  Info",
                 "Writing result file finished.  Info", " returned from write process.  Info" }) {
            at = log.indexOf(QLatin1String(line), at);
            QVERIFY2(at >= 0, line);
        }
        // A second run starts over with its own files in front of the arguments.
        runToEnd(w, QStringLiteral("new.xml"), QStringLiteral("old.xml"));
        QCOMPARE(m_arguments.mid(0, 5),
            QStringList({ "zov", "new.xml", "old.xml", "old.xml", "new.xml" }));
        QCOMPARE(w->view()->leftTree()->topLevelItem(0)->text(0), QStringLiteral("library"));
    }

    void endDuringRun_data()
    {
        QTest::addColumn<bool>("written");
        QTest::newRow("window closed while comparing") << false;
        QTest::newRow("quit while writing") << true;
    }

    void endDuringRun()
    {
        QFETCH(bool, written);
        QFile::remove(QStringLiteral("big2_zov.xml"));
        Mainwindow* w = bigPair();
        QVERIFY(w);
        w->diff();
        if (written) {
            // Hand the finished compare to the window, which starts the writer.
            w->runner()->wait();
            QCoreApplication::sendPostedEvents(w, QEvent::MetaCall);
            QVERIFY(w->writer());
            w->quit();
        } else {
            QVERIFY(w->runner() && w->close());
        }
        QCOMPARE(status(), QStringLiteral("Freeing memory, cleaning up..."));
        QVERIFY(!w->runner() && !w->writer() && !w->scenario());
        // The run's queued end arrives after it was dropped and starts nothing.
        QCoreApplication::processEvents();
        QVERIFY(!w->writer() && m_catcher->boxes.isEmpty());
        QCOMPARE(w->view()->leftTree()->topLevelItemCount(), 0);
        QCOMPARE(isCompleteXml(QStringLiteral("big2_zov.xml")), written);
    }

    void endDuringFill_data()
    {
        QTest::addColumn<bool>("closed");
        QTest::newRow("new run") << false;
        QTest::newRow("window closed") << true;
    }

    void endDuringFill()
    {
        QFETCH(bool, closed);
        Mainwindow* w = bigPair();
        QVERIFY(w);
        w->view()->setSliceSize(100);
        w->diff();
        // Both threads end before the window hears of them, so the view holds its first slice.
        w->runner()->wait();
        QCoreApplication::sendPostedEvents(w, QEvent::MetaCall);
        w->writer()->wait();
        QCoreApplication::sendPostedEvents(w, QEvent::MetaCall);
        QVERIFY(!w->writer() && w->diffButton()->isEnabled());
        QCOMPARE(w->view()->leftTree()->topLevelItem(0)->childCount(), 100);
        QVERIFY(w->view()->isFilling() && !w->progressBar()->isHidden());
        if (closed) {
            QVERIFY(w->close());
            QVERIFY(!w->view()->isFilling() && w->progressBar()->isHidden());
            QCOMPARE(w->view()->leftTree()->topLevelItemCount(), 0);
            QCoreApplication::processEvents();
            QVERIFY(!w->view()->isFilling() && !w->scenario());
            return;
        }
        QVERIFY(writeTextFile(QStringLiteral("long1.xml"), largeDocument(15000, 3)));
        QVERIFY(writeTextFile(QStringLiteral("long2.xml"), largeDocument(15000, 4)));
        runToEnd(w, QStringLiteral("long1.xml"), QStringLiteral("long2.xml"));
        QTRY_VERIFY(!w->view()->isFilling());
        QVERIFY(w->progressBar()->isHidden());
        // Only the second run's items, every pair linked.
        QCOMPARE(w->view()->leftTree()->topLevelItem(0)->childCount(), 15000);
        QCOMPARE(w->view()->rightTree()->topLevelItem(0)->childCount(), 15000);
        QCOMPARE(w->view()->linkCount(), 15001);
        QVERIFY(m_catcher->boxes.isEmpty());
    }
};

QTEST_MAIN(Tst_mainwindow)
#include "tst_mainwindow.moc"
