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
#include <QXmlStreamReader>
#include <QtTest>
#include <memory>

namespace {

const QString boxTitle = QStringLiteral(" ZOV Tralvex Freeware version");
const QString noLanguages = QStringLiteral("No language files found.");
const QString cfgError = QStringLiteral("Error while trying to read configuration file: -1095\n");

// A document of count items; items whose index is a multiple of step get another text.
QByteArray largeDocument(int count, int step)
{
    QByteArray text = "<?xml version=\"1.0\"?>\n<list>\n";
    for (int i = 0; i < count; ++i) {
        text += "  <item n=\"" + QByteArray::number(i) + "\"><v>"
            + QByteArray::number(i % step == 0 ? -i : i) + "</v><w>text</w></item>\n";
    }
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

QStringList menuTitles(const Mainwindow* window)
{
    QStringList texts;
    for (const QAction* action : window->menuBar()->actions())
        texts << action->text();
    return texts;
}

} // namespace

class Tst_mainwindow : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QStringList m_arguments;
    std::unique_ptr<Boxcatcher> m_catcher;
    std::unique_ptr<Mainwindow> m_window;

    Mainwindow* window(const QStringList& arguments = { QStringLiteral("zov") })
    {
        m_arguments = arguments;
        m_window = std::make_unique<Mainwindow>(&m_arguments);
        return m_window.get();
    }

    static void setPaths(Mainwindow* window, const QString& path1, const QString& path2)
    {
        window->pathField1()->setText(path1);
        window->setpath1();
        window->pathField2()->setText(path2);
        window->setpath2();
    }

    static void runToEnd(Mainwindow* window, const QString& path1, const QString& path2)
    {
        setPaths(window, path1, path2);
        window->diff();
        QTRY_VERIFY(!window->runner() && !window->writer());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QVERIFY(QDir::setCurrent(m_dir.path()));
        QVERIFY(writeTextFile(
            QStringLiteral("zov_cfg.xml"), configFileText(builtinValues(), {}).toUtf8()));
        QVERIFY(QDir().mkdir(QStringLiteral("zov4translations")));
        const QDir built(QStringLiteral(ZOV_QM_DIR));
        const QStringList qmFiles = built.entryList({ QStringLiteral("zov_*.qm") }, QDir::Files);
        QCOMPARE(
            qmFiles, QStringList({ QStringLiteral("zov_de.qm"), QStringLiteral("zov_fr.qm") }));
        for (const QString& file : qmFiles)
            QVERIFY(QFile::copy(built.filePath(file), QStringLiteral("zov4translations/") + file));
        for (const char* name : { "old.xml", "new.xml" }) {
            QVERIFY(QFile::copy(
                QStringLiteral(ZOV_TEST_DATA "/") + QLatin1String(name), QLatin1String(name)));
        }
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
        QTest::addColumn<QString>("field1");
        QTest::addColumn<QString>("field2");
        const auto row = [](const char* name, const QStringList& arguments, const char* field1,
                             const char* field2) {
            QTest::newRow(name) << arguments << QString(field1) << QString(field2);
        };
        row("two files", { "zov", "a.xml", "b.xml" }, "a.xml", "b.xml");
        row("two files and -cfg", { "zov", "a.xml", "b.xml", "-cfg", "zov_cfg.xml" }, "a.xml",
            "b.xml");
        row("-cfg only", { "zov", "-cfg", "zov_cfg.xml" }, "", "");
        row("-CFG is a file", { "zov", "-CFG", "c.xml" }, "-CFG", "c.xml");
        row("three files", { "zov", "a.xml", "b.xml", "c.xml" }, "", "");
    }

    void commandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, field1);
        QFETCH(QString, field2);
        Mainwindow* w = window(arguments);
        QCOMPARE(w->pathField1()->text(), field1);
        QCOMPARE(w->path2(), field2);
    }

    void startupCheck_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<bool>("viaCfg");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("status");
        const QByteArray valid = configFileText(builtinValues(), {}).toUtf8();
        const QString builtins = QStringLiteral(
            "No configuration file %1 yet: the built-in settings are used; Save in "
            "the configuration dialog creates the file.");
        QTest::newRow("first start")
            << QByteArray() << false << QStringList { noLanguages } << builtins;
        QTest::newRow("-cfg file, none here")
            << valid << true << QStringList { noLanguages } << QString();
        QTest::newRow("unreadable file") << QByteArray("<zov_cfg>") << false
                                         << QStringList { noLanguages, cfgError } << QString();
    }

    void startupCheck()
    {
        QFETCH(QByteArray, file);
        QFETCH(bool, viaCfg);
        QFETCH(QStringList, boxes);
        QFETCH(QString, status);
        QTemporaryDir bare;
        QTemporaryDir elsewhere;
        QVERIFY(QDir::setCurrent(bare.path()));
        const QString cfg = (viaCfg ? elsewhere : bare).filePath(QStringLiteral("zov_cfg.xml"));
        if (!file.isEmpty())
            QVERIFY(writeTextFile(cfg, file));
        QStringList arguments { QStringLiteral("zov") };
        if (viaCfg)
            arguments << QStringLiteral("-cfg") << cfg;
        Mainwindow* w = window(arguments);

        QCOMPARE(m_catcher->texts(), boxes);
        QCOMPARE(m_catcher->boxes.last().icon,
            boxes.size() > 1 ? QMessageBox::Critical : QMessageBox::Warning);
        QCOMPARE(m_catcher->boxes.last().title, boxTitle);
        QCOMPARE(m_catcher->boxes.last().parent, w);
        QCOMPARE(w->cfgdialog() && w->cfgdialog()->isVisible(), boxes.size() > 1);
        QCOMPARE(w->statusBar()->currentMessage(),
            status.isEmpty() ? status : status.arg(QDir::toNativeSeparators(cfg)));
        QCOMPARE(w->logWindow()->toPlainText().contains(QLatin1String("built-in settings")),
            !status.isEmpty());
        QCOMPARE(w->languageMenu()->actions().size(), 1);
        if (boxes.size() > 1)
            return;
        // The run reads the same settings, or the built-in ones when there is no file.
        runToEnd(w, m_dir.filePath(QStringLiteral("old.xml")),
            m_dir.filePath(QStringLiteral("new.xml")));
        QCOMPARE(m_catcher->texts(), boxes);
        QVERIFY(w->view()->rightTree()->topLevelItem(0));
    }

    void incompleteDiff_data()
    {
        QTest::addColumn<QString>("path1");
        QTest::addColumn<QString>("path2");
        QTest::addColumn<QString>("text");
        QTest::newRow("both empty") << ""
                                    << ""
                                    << "No files have been selected yet for comparison.";
        QTest::newRow("first empty") << ""
                                     << "new.xml"
                                     << "Xml file 1 hasn't been selected yet.";
        QTest::newRow("second empty") << "old.xml"
                                      << ""
                                      << "Xml file 2 hasn't been selected yet.";
    }

    void incompleteDiff()
    {
        QFETCH(QString, path1);
        QFETCH(QString, path2);
        QFETCH(QString, text);
        Mainwindow* w = window();
        setPaths(w, path1, path2);
        w->diffButton()->click();
        QCOMPARE(m_catcher->texts(), QStringList({ text }));
        QCOMPARE(m_catcher->boxes[0].icon, QMessageBox::Warning);
        QVERIFY(!w->scenario());
        QVERIFY(w->diffButton()->isEnabled());
    }

    void runOnTheWorker()
    {
        QFile::remove(QStringLiteral("new_zov.xml"));
        Mainwindow* w = window({ QStringLiteral("zov"), QStringLiteral("-cfg"),
            m_dir.filePath(QStringLiteral("zov_cfg.xml")) });
        setPaths(w, QStringLiteral("old.xml"), QStringLiteral("new.xml"));
        w->diff();

        // diff returns at once; the run goes on while the window answers events.
        QVERIFY(w->runner());
        QVERIFY(!w->progressBar()->isHidden());
        QVERIFY(!w->diffButton()->isEnabled());
        QVERIFY(!w->configAction()->isEnabled());
        QVERIFY(!w->nextAction()->isEnabled() && !w->languageMenu()->isEnabled());
        w->config();
        QVERIFY(!w->cfgdialog());
        QTRY_VERIFY(w->view()->rightTree()->topLevelItem(0));
        QVERIFY(!w->runner());
        QVERIFY(w->progressBar()->isHidden() && w->nextAction()->isEnabled());
        QCOMPARE(w->statusBar()->currentMessage(), QStringLiteral("Comparison finished."));
        QCOMPARE(w->view()->leftTree()->topLevelItem(0)->text(0), QStringLiteral("library"));

        QTRY_VERIFY(w->diffButton()->isEnabled());
        QVERIFY(w->configAction()->isEnabled());
        QVERIFY(isCompleteXml(QStringLiteral("new_zov.xml")));
        QVERIFY(m_catcher->boxes.isEmpty());
        // Lines the worker logged came through to the window, in order.
        const QString log = w->logWindow()->toPlainText();
        const QStringList lines { "Path to configuration file:", "Starting tree compare process",
            "Comparison finished.  Info", "Starting to write result file  Info",
            "Writing result file finished.  Info", " returned from write process.  Info" };
        qsizetype at = 0;
        for (const QString& line : lines) {
            at = log.indexOf(line, at);
            QVERIFY2(at >= 0, qPrintable(line));
        }

        // A second run starts over with its own files in front of the arguments.
        runToEnd(w, QStringLiteral("new.xml"), QStringLiteral("old.xml"));
        QCOMPARE(m_arguments,
            QStringList({ "zov", "new.xml", "old.xml", "old.xml", "new.xml", "-cfg",
                m_dir.filePath(QStringLiteral("zov_cfg.xml")) }));
        QVERIFY(m_catcher->boxes.isEmpty());
        QCOMPARE(w->view()->rightTree()->topLevelItem(0)->text(0), QStringLiteral("library"));
    }

    void failedRun_data()
    {
        QTest::addColumn<QString>("path1");
        QTest::addColumn<QByteArray>("cfg");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("logged");
        const QByteArray valid = configFileText(builtinValues(), {}).toUtf8();
        const QString initBox = QStringLiteral("Error in init function. For details see log file.");
        QTest::newRow("missing file")
            << "missing.xml" << valid << initBox << "File not found: missing.xml";
        QTest::newRow("broken file")
            << "broken.xml" << valid << "Error while parsing XML file.\nFor details see log file."
            << "Error while parsing XML file broken.xml";
        QTest::newRow("configuration broken after the start")
            << "old.xml" << QByteArray("<zov_cfg><parameters>") << initBox
            << "Error while trying to read configuration file: -1055";
    }

    void failedRun()
    {
        QFETCH(QString, path1);
        QFETCH(QByteArray, cfg);
        QFETCH(QString, box);
        QFETCH(QString, logged);
        const QString cfgPath = m_dir.filePath(QStringLiteral("run_cfg.xml"));
        QVERIFY(writeTextFile(cfgPath, configFileText(builtinValues(), {}).toUtf8()));
        Mainwindow* w = window({ QStringLiteral("zov"), QStringLiteral("-cfg"), cfgPath });
        QVERIFY(writeTextFile(cfgPath, cfg));
        QByteArray logAtBox;
        m_catcher->onBox
            = [&] { logAtBox = readTextFile(m_dir.filePath(QStringLiteral("zov_log.txt"))); };
        runToEnd(w, path1, QStringLiteral("new.xml"));
        QCOMPARE(m_catcher->texts(), QStringList({ box }));
        QCOMPARE(m_catcher->boxes[0].icon, QMessageBox::Critical);
        QVERIFY2(logAtBox.contains(logged.toUtf8()), logAtBox.constData());
        QVERIFY(w->logWindow()->toPlainText().contains(logged));
        QVERIFY(w->diffButton()->isEnabled() && w->progressBar()->isHidden());
        QCOMPARE(w->view()->rightTree()->topLevelItemCount(), 0);
    }

    void endDuringRun_data()
    {
        QTest::addColumn<bool>("close");
        QTest::addColumn<bool>("written");
        QTest::newRow("window closed while comparing") << true << false;
        QTest::newRow("quit while writing") << false << true;
    }

    void endDuringRun()
    {
        QFETCH(bool, close);
        QFETCH(bool, written);
        QVERIFY(writeTextFile(QStringLiteral("big1.xml"), largeDocument(20000, 7)));
        QVERIFY(writeTextFile(QStringLiteral("big2.xml"), largeDocument(20000, 5)));
        QFile::remove(QStringLiteral("big2_zov.xml"));
        Mainwindow* w = window();
        setPaths(w, QStringLiteral("big1.xml"), QStringLiteral("big2.xml"));
        w->diff();
        QVERIFY(w->runner());
        if (written) {
            // Hand the finished compare to the window, which starts the writer.
            w->runner()->wait();
            QCoreApplication::sendPostedEvents(w, QEvent::MetaCall);
            QVERIFY(w->writer());
        }
        if (close)
            QVERIFY(w->close());
        else
            w->quit();
        QCOMPARE(
            w->statusBar()->currentMessage(), QStringLiteral("Freeing memory, cleaning up..."));
        QVERIFY(!w->runner() && !w->writer() && !w->scenario());
        // The run's queued end arrives after it was dropped and starts nothing.
        QCoreApplication::processEvents();
        QVERIFY(!w->writer());
        QVERIFY(m_catcher->boxes.isEmpty());
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
        QCOMPARE(w->languageGroup()->checkedAction(), actions[1]);
        QCOMPARE(
            menuTitles(w), QStringList({ "Datei", "Bearbeiten", "Ansicht", "Sprache", "Hilfe" }));
        QCOMPARE(w->configAction()->text(), QStringLiteral("Konfiguration"));
        QCOMPARE(w->view()->rightTree()->headerItem()->text(2), QStringLiteral("Änderungsmarken"));
        actions[2]->trigger();
        QCOMPARE(w->nextAction()->text(), QStringLiteral("Modification suivante"));

        actions[0]->trigger();
        QCOMPARE(w->languageGroup()->checkedAction(), actions[0]);
        QCOMPARE(menuTitles(w), QStringList({ "File", "Edit", "View", "Language", "Help" }));
        QCOMPARE(w->nextAction()->text(), QStringLiteral("Next change"));

        // A missing file warns and leaves the source texts, with English checked.
        actions[1]->trigger();
        QAction missing(QStringLiteral("Klingon"));
        missing.setData(QStringLiteral("zov_tl.qm"));
        w->switchlanguage(&missing);
        QCOMPARE(m_catcher->texts(),
            QStringList({ QStringLiteral("Language file zov_tl.qm not found.") }));
        QCOMPARE(menuTitles(w).at(0), QStringLiteral("File"));
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
        w->pathField2()->clear();
        QTest::keyClicks(w->pathField2(), QStringLiteral("typed.xml"));
        w->selectfile2();
        QCOMPARE(w->path2(), QStringLiteral("typed.xml"));
    }

    void configDialogCreatesTheFile()
    {
        QTemporaryDir elsewhere;
        const QString path = elsewhere.filePath(QStringLiteral("zov_cfg.xml"));
        Mainwindow* w = window({ QStringLiteral("zov"), QStringLiteral("-cfg"), path });
        w->configAction()->trigger();
        QVERIFY(w->cfgdialog() && w->cfgdialog()->isVisible());
        QVERIFY(m_catcher->boxes.isEmpty());
        QCOMPARE(w->cfgdialog()->widgetValues(), builtinValues());
        w->cfgdialog()->pb_save->click();
        QVERIFY(!w->cfgdialog()->isVisible());
        Cfgstore::instance().clear();
        QCOMPARE(Cfgstore::instance().readcfg(), 0);
        QCOMPARE(Cfgstore::instance().cfgpath(), path);
    }

    void navigateWithKeys()
    {
        Mainwindow* w = window();
        w->show();
        QVERIFY(QTest::qWaitForWindowActive(w));
        runToEnd(w, QStringLiteral("old.xml"), QStringLiteral("new.xml"));
        QTreeWidget* right = w->view()->rightTree();
        const QString completeMatch = QStringLiteral("complete match");

        w->statusBar()->clearMessage();
        QStringList reached;
        for (int guard = 0; guard < 100 && w->statusBar()->currentMessage().isEmpty(); ++guard) {
            QTest::keyClick(w, Qt::Key_F8);
            if (w->statusBar()->currentMessage().isEmpty())
                reached << w->view()->highlightedRight()->text(0);
        }
        QCOMPARE(w->statusBar()->currentMessage(), QStringLiteral("Last change reached."));
        QVERIFY(reached.size() > 3);
        QTreeWidgetItem* last = w->view()->highlightedRight();
        QVERIFY(last && last->text(2) != completeMatch);
        QCOMPARE(right->currentItem(), last);

        QTest::keyClick(w, Qt::Key_F8, Qt::ShiftModifier);
        QVERIFY(w->statusBar()->currentMessage().isEmpty());
        QCOMPARE(w->view()->highlightedRight()->text(0), reached.at(reached.size() - 2));

        // A deleted element has no counterpart, and is highlighted all the same.
        QVERIFY(reached.contains(QStringLiteral("retired")));

        // The added element is one change: what it holds only inherits its mark.
        w->summarybar()->button(element_added)->click();
        right->collapseItem(right->topLevelItem(0));
        w->view()->bitemclicked(right->topLevelItem(0), 0);
        QTest::keyClick(w, Qt::Key_F8);
        QCOMPARE(w->view()->highlightedRight()->text(0), QStringLiteral("added"));
        QCOMPARE(w->view()->highlightedRight()->text(2), QStringLiteral("element added"));
        QTest::keyClick(w, Qt::Key_F8);
        QCOMPARE(w->statusBar()->currentMessage(), QStringLiteral("Last change reached."));
    }
};

QTEST_MAIN(Tst_mainwindow)
#include "tst_mainwindow.moc"
