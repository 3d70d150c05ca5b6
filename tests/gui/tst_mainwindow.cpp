#include "../testfiles.h"
#include "boxcatcher.h"

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
    static void runToEnd(Mainwindow* window, const QString& path1, const QString& path2)
    {
        setPaths(window, path1, path2);
        window->diffButton()->click();
        QTRY_VERIFY(!window->runner() && !window->writer());
    }

    QString status() const { return m_window->statusBar()->currentMessage(); }

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
    }

    void cleanup()
    {
        m_window.reset();
        m_catcher.reset();
        QVERIFY(QDir::setCurrent(m_dir.path()));
    }

    void commandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("two files")
            << QStringList { "a.xml", "b.xml" } << QStringList { "a.xml", "b.xml" };
        QTest::newRow("and -cfg") << QStringList { "a.xml", "b.xml", "-cfg", "zov_cfg.xml" }
                                  << QStringList { "a.xml", "b.xml" };
        QTest::newRow("-cfg only")
            << QStringList { "-cfg", "zov_cfg.xml" } << QStringList { "", "" };
        QTest::newRow("-CFG is a file")
            << QStringList { "-CFG", "c.xml" } << QStringList { "-CFG", "c.xml" };
        QTest::newRow("three files")
            << QStringList { "a.xml", "b.xml", "c.xml" } << QStringList { "", "" };
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, fields);
        Mainwindow* w = window(arguments);
        QCOMPARE(QStringList({ w->pathField1()->text(), w->path2() }), fields);
    }

    void startupCheck_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("viaCfg");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("message");
        QTest::newRow("first start")
            << QByteArray() << false << ""
            << "No configuration file %1 yet: the built-in settings are used; Save in the "
               "configuration dialog creates the file.";
        QTest::newRow("-cfg file, none here")
            << configFileText(builtinValues(), {}).toUtf8() << true << ""
            << "";
        QTest::newRow("unreadable file") << QByteArray("<zov_cfg>") << false
                                         << "Error while trying to read configuration file: -1095\n"
                                         << "";
    }

    void startupCheck()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, viaCfg);
        QFETCH(QString, box);
        QFETCH(QString, message);
        QTemporaryDir bare;
        QTemporaryDir elsewhere;
        QVERIFY(QDir::setCurrent(bare.path()));
        const QString cfg = (viaCfg ? elsewhere : bare).filePath(QStringLiteral("zov_cfg.xml"));
        if (!file.isEmpty())
            QVERIFY(writeTextFile(cfg, file));
        Mainwindow* w = window(viaCfg ? QStringList { "-cfg", cfg } : QStringList());
        // No translations here either: the first box says so.
        QCOMPARE(m_catcher->texts(),
            QStringList { "No language files found." }
                + (box.isEmpty() ? QStringList() : QStringList { box }));
        const Boxcatcher::Box& last = m_catcher->boxes.last();
        QCOMPARE(last.icon, box.isEmpty() ? QMessageBox::Warning : QMessageBox::Critical);
        QCOMPARE(last.title, QStringLiteral(" ZOV Tralvex Freeware version"));
        QCOMPARE(last.parent, w);
        QCOMPARE(w->cfgdialog() && w->cfgdialog()->isVisible(), !box.isEmpty());
        QCOMPARE(
            status(), message.isEmpty() ? message : message.arg(QDir::toNativeSeparators(cfg)));
        QCOMPARE(w->logWindow()->toPlainText().contains("built-in settings"), !message.isEmpty());
        if (!box.isEmpty())
            return;
        // The run reads the same settings, or the built-in ones when there is no file.
        runToEnd(w, m_dir.filePath("old.xml"), m_dir.filePath("new.xml"));
        QCOMPARE(m_catcher->boxes.size(), 1);
        QVERIFY(w->view()->rightTree()->topLevelItem(0));
    }

    void diffRefused_data()
    {
        QTest::addColumn<QString>("path1");
        QTest::addColumn<QString>("path2");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("logged");
        const auto row
            = [](const char* name, const char* path1, const char* path2, const char* box,
                  const char* logged) { QTest::newRow(name) << path1 << path2 << box << logged; };
        row("both empty", "", "", "No files have been selected yet for comparison.", "");
        row("first empty", "", "new.xml", "Xml file 1 hasn't been selected yet.", "");
        row("second empty", "old.xml", "", "Xml file 2 hasn't been selected yet.", "");
        row("missing file", "missing.xml", "new.xml",
            "Error in init function. For details see log file.", "File not found: missing.xml");
        row("broken file", "broken.xml", "new.xml",
            "Error while parsing XML file.\nFor details see log file.",
            "Error while parsing XML file broken.xml");
    }

    void diffRefused()
    {
        QFETCH(QString, path1);
        QFETCH(QString, path2);
        QFETCH(QString, box);
        QFETCH(QString, logged);
        Mainwindow* w = withCfg();
        // The box that points to the log file finds its lines there.
        QByteArray logAtBox;
        m_catcher->onBox = [&] { logAtBox = readTextFile(m_dir.filePath("zov_log.txt")); };
        runToEnd(w, path1, path2);
        QCOMPARE(m_catcher->texts(), QStringList { box });
        QCOMPARE(m_catcher->boxes[0].icon,
            logged.isEmpty() ? QMessageBox::Warning : QMessageBox::Critical);
        QVERIFY2(logAtBox.contains(logged.toUtf8()), logAtBox.constData());
        QVERIFY(w->logWindow()->toPlainText().contains(logged));
        QVERIFY(w->diffButton()->isEnabled() && w->progressBar()->isHidden());
        QCOMPARE(w->view()->rightTree()->topLevelItemCount(), 0);
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
        QVERIFY(writeTextFile(QStringLiteral("big1.xml"), largeDocument(20000, 7)));
        QVERIFY(writeTextFile(QStringLiteral("big2.xml"), largeDocument(20000, 5)));
        QFile::remove(QStringLiteral("big2_zov.xml"));
        Mainwindow* w = window();
        setPaths(w, QStringLiteral("big1.xml"), QStringLiteral("big2.xml"));
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

    void languages()
    {
        Mainwindow* w = window();
        const QList<QAction*> actions = w->languageGroup()->actions();
        QStringList names;
        for (const QAction* action : actions)
            names << action->text();
        QCOMPARE(names, QStringList({ "English", "Deutsch", "Français" }));
        QCOMPARE(w->languageGroup()->checkedAction(), actions[0]);
        actions[1]->trigger();
        QCOMPARE(w->menuBar()->actions().at(3)->text(), QStringLiteral("Sprache"));
        QCOMPARE(w->view()->rightTree()->headerItem()->text(2), QStringLiteral("Änderungsmarken"));
        actions[2]->trigger();
        QCOMPARE(w->nextAction()->text(), QStringLiteral("Modification suivante"));
        actions[0]->trigger();
        QCOMPARE(w->nextAction()->text(), QStringLiteral("Next change"));
        // A missing file warns and leaves the source texts, with English checked.
        actions[1]->trigger();
        QAction missing;
        missing.setData(QStringLiteral("zov_tl.qm"));
        w->switchlanguage(&missing);
        QCOMPARE(m_catcher->texts(), QStringList({ "Language file zov_tl.qm not found." }));
        QCOMPARE(w->menuBar()->actions().at(0)->text(), QStringLiteral("File"));
        QCOMPARE(w->languageGroup()->checkedAction(), actions[0]);
    }

    void filePickers()
    {
        Mainwindow* w = window();
        const QString chosen = QDir::toNativeSeparators(m_dir.filePath(QStringLiteral("old.xml")));
        bool choose = true;
        m_catcher->onDialog = [&](QDialog* dialog) {
            if (auto* picker = qobject_cast<QFileDialog*>(dialog)) {
                picker->selectFile(chosen);
                choose ? static_cast<QDialog*>(picker)->accept() : picker->reject();
            }
        };
        w->selectfile1();
        QCOMPARE(w->pathField1()->text(), chosen);
        // Cancelling keeps the earlier file; a typed path counts at once.
        choose = false;
        w->selectfile1();
        QCOMPARE(w->path1(), chosen);
        QTest::keyClicks(w->pathField2(), QStringLiteral("typed.xml"));
        w->selectfile2();
        QCOMPARE(w->path2(), QStringLiteral("typed.xml"));
    }

    void configDialogCreatesTheFile()
    {
        QTemporaryDir elsewhere;
        const QString path = elsewhere.filePath(QStringLiteral("zov_cfg.xml"));
        Mainwindow* w = window({ QStringLiteral("-cfg"), path });
        w->configAction()->trigger();
        QVERIFY(w->cfgdialog()->isVisible() && m_catcher->boxes.isEmpty());
        QCOMPARE(w->cfgdialog()->widgetValues(), builtinValues());
        w->cfgdialog()->pb_save->click();
        QCOMPARE(readTextFile(path), configFileText(builtinValues(), {}).toUtf8());
    }

    void navigateWithKeys()
    {
        Mainwindow* w = window();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        runToEnd(w, QStringLiteral("old.xml"), QStringLiteral("new.xml"));
        w->statusBar()->clearMessage();
        QStringList reached;
        for (int guard = 0; guard < 100 && status().isEmpty(); ++guard) {
            QTest::keyClick(w, Qt::Key_F8);
            reached << w->view()->highlightedRight()->text(0);
        }
        QCOMPARE(status(), QStringLiteral("Last change reached."));
        QVERIFY(reached.size() > 3 && reached.contains(QStringLiteral("retired")));
        QCOMPARE(w->view()->rightTree()->currentItem(), w->view()->highlightedRight());
        QTest::keyClick(w, Qt::Key_F8, Qt::ShiftModifier);
        QVERIFY(status().isEmpty());
        QCOMPARE(w->view()->highlightedRight()->text(0), reached.at(reached.size() - 3));
        // The kind chosen in the summary bar is the one the keys move through.
        w->summarybar()->button(element_added)->click();
        QTreeWidgetItem* root = w->view()->rightTree()->topLevelItem(0);
        w->view()->rightTree()->collapseItem(root);
        w->view()->bitemclicked(root, 0);
        QTest::keyClick(w, Qt::Key_F8);
        QCOMPARE(w->view()->highlightedRight()->text(2), QStringLiteral("element added"));
        QTest::keyClick(w, Qt::Key_F8);
        QCOMPARE(status(), QStringLiteral("Last change reached."));
    }
};

QTEST_MAIN(Tst_mainwindow)
#include "tst_mainwindow.moc"
