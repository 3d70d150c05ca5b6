#include "../testfiles.h"
#include "boxcatcher.h"

#include "app/mainwindow.h"
#include "compare/changekind.h"
#include "config/cfgstore.h"
#include "gui/cfgdialog.h"
#include "gui/matchfilter.h"
#include "gui/summarybar.h"
#include "gui/vtreeitem.h"
#include "gui/zovvisual.h"
#include "run/writethread.h"

#include <QActionGroup>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QXmlStreamReader>
#include <QtTest>
#include <memory>

namespace {

const QString boxTitle = QStringLiteral(" ZOV Tralvex Freeware version");

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

QStringList actionTexts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions)
        texts << action->text();
    return texts;
}

} // namespace

class Tst_mainwindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();

    void commandLine_data();
    void commandLine();
    void bareDirectory();
    void startupReadsTheNamedConfiguration_data();
    void startupReadsTheNamedConfiguration();
    void incompleteDiff_data();
    void incompleteDiff();
    void wholeRun();
    void twoRunsKeepTheArguments();
    void failedRun_data();
    void failedRun();
    void quitWaitsForWriter();
    void languageSwitch();
    void filePickers();
    void configAction();
    void navigateWithKeys();

private:
    Mainwindow* window(const QStringList& arguments = { QStringLiteral("zov") });
    static void setPaths(Mainwindow* window, const QString& path1, const QString& path2);
    void runToEnd(Mainwindow* window, const QString& path1, const QString& path2);

    QTemporaryDir m_dir;
    QStringList m_arguments;
    std::unique_ptr<Boxcatcher> m_catcher;
    std::unique_ptr<Mainwindow> m_window;
};

void Tst_mainwindow::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(QDir::setCurrent(m_dir.path()));
    QVERIFY(
        writeTextFile(QStringLiteral("zov_cfg.xml"), configFileText(builtinValues(), {}).toUtf8()));
    QVERIFY(QDir().mkdir(QStringLiteral("zov4translations")));
    const QDir built(QStringLiteral(ZOV_QM_DIR));
    const QStringList qmFiles = built.entryList({ QStringLiteral("zov_*.qm") }, QDir::Files);
    QCOMPARE(qmFiles, QStringList({ QStringLiteral("zov_de.qm"), QStringLiteral("zov_fr.qm") }));
    for (const QString& file : qmFiles)
        QVERIFY(QFile::copy(built.filePath(file), QStringLiteral("zov4translations/") + file));
    for (const char* name : { "old.xml", "new.xml" }) {
        QVERIFY(QFile::copy(
            QStringLiteral(ZOV_TEST_DATA "/") + QLatin1String(name), QLatin1String(name)));
    }
    QVERIFY(writeTextFile(QStringLiteral("broken.xml"), "<a><b></a>"));
}

void Tst_mainwindow::init()
{
    // Each window starts like a fresh program: the start-up check reads the default path.
    Cfgstore::instance().setPath(QString());
    m_catcher = std::make_unique<Boxcatcher>();
}

void Tst_mainwindow::cleanup()
{
    m_window.reset();
    m_catcher.reset();
    QVERIFY(QDir::setCurrent(m_dir.path()));
}

Mainwindow* Tst_mainwindow::window(const QStringList& arguments)
{
    m_arguments = arguments;
    m_window = std::make_unique<Mainwindow>(&m_arguments);
    return m_window.get();
}

void Tst_mainwindow::setPaths(Mainwindow* window, const QString& path1, const QString& path2)
{
    window->pathField1()->setText(path1);
    window->setpath1();
    window->pathField2()->setText(path2);
    window->setpath2();
}

void Tst_mainwindow::runToEnd(Mainwindow* window, const QString& path1, const QString& path2)
{
    setPaths(window, path1, path2);
    window->diff();
    QTRY_VERIFY(!window->writer());
}

void Tst_mainwindow::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("field1");
    QTest::addColumn<QString>("field2");
    const auto row = [](const char* name, const QStringList& arguments, const char* field1,
                         const char* field2) {
        QTest::newRow(name) << arguments << QString(field1) << QString(field2);
    };
    row("two files", { "zov", "a.xml", "b.xml" }, "a.xml", "b.xml");
    row("two files and -cfg", { "zov", "a.xml", "b.xml", "-cfg", "c.xml" }, "a.xml", "b.xml");
    row("-cfg only", { "zov", "-cfg", "c.xml" }, "", "");
    row("-CFG is a file", { "zov", "-CFG", "c.xml" }, "-CFG", "c.xml");
    row("three files", { "zov", "a.xml", "b.xml", "c.xml" }, "", "");
}

void Tst_mainwindow::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, field1);
    QFETCH(QString, field2);
    Mainwindow* w = window(arguments);
    QCOMPARE(w->pathField1()->text(), field1);
    QCOMPARE(w->path2(), field2);
}

void Tst_mainwindow::bareDirectory()
{
    // A first start: no configuration file, no language files.
    QTemporaryDir bare;
    QVERIFY(QDir::setCurrent(bare.path()));
    Mainwindow* w = window();
    QCOMPARE(m_catcher->texts(), QStringList({ QStringLiteral("No language files found.") }));
    QCOMPARE(m_catcher->boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(m_catcher->boxes[0].title, boxTitle);
    QCOMPARE(m_catcher->boxes[0].parent, w);
    QCOMPARE(m_catcher->boxes[0].buttonCount, 1);
    QCOMPARE(actionTexts(w->languageMenu()->actions()), QStringList({ "English" }));
    QVERIFY(!w->cfgdialog());
    QVERIFY(w->statusBar()->currentMessage().startsWith(QStringLiteral("No configuration file")));
    QVERIFY(w->logWindow()->toPlainText().contains(QStringLiteral("built-in settings")));
    // A run uses them too.
    for (const char* name : { "old.xml", "new.xml" })
        QVERIFY(
            QFile::copy(m_dir.filePath(QLatin1String(name)), bare.filePath(QLatin1String(name))));
    runToEnd(w, QStringLiteral("old.xml"), QStringLiteral("new.xml"));
    QCOMPARE(m_catcher->boxes.size(), 1);
    QVERIFY(w->view()->rightTree()->topLevelItem(0));
    // Save in the dialog creates the file the run then reads.
    w->configAction()->trigger();
    QVERIFY(m_catcher->boxes.size() == 1 && w->cfgdialog()->isVisible());
    QCOMPARE(w->cfgdialog()->widgetValues(), builtinValues());
    w->cfgdialog()->savecfg();
    QVERIFY(QFile::exists(bare.filePath(QStringLiteral("zov_cfg.xml"))));
}

void Tst_mainwindow::startupReadsTheNamedConfiguration_data()
{
    QTest::addColumn<QString>("content");
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("readable") << configFileText(builtinValues(), {}) << QStringList();
    QTest::newRow("exists, not readable")
        << QStringLiteral("<broken")
        << QStringList(
               { QStringLiteral("Error while trying to read configuration file: -1095\n") });
}

void Tst_mainwindow::startupReadsTheNamedConfiguration()
{
    QFETCH(QString, content);
    QFETCH(QStringList, boxes);
    // Started from a folder without a configuration file, with -cfg naming one elsewhere.
    QTemporaryDir elsewhere;
    const QString named = elsewhere.filePath(QStringLiteral("zov_cfg.xml"));
    QVERIFY(writeTextFile(named, content.toUtf8()));
    QTemporaryDir bare;
    QVERIFY(QDir::setCurrent(bare.path()));
    Mainwindow* w = window({ QStringLiteral("zov"), QStringLiteral("old.xml"),
        QStringLiteral("new.xml"), QStringLiteral("-cfg"), named });
    QCOMPARE(m_catcher->texts().mid(1), boxes);
    QCOMPARE(Cfgstore::instance().cfgpath(), named);
    QCOMPARE(w->cfgdialog() != nullptr, !boxes.isEmpty());
}

void Tst_mainwindow::incompleteDiff_data()
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

void Tst_mainwindow::incompleteDiff()
{
    QFETCH(QString, path1);
    QFETCH(QString, path2);
    QFETCH(QString, text);
    Mainwindow* w = window();
    setPaths(w, path1, path2);
    w->diffButton()->click();
    QCOMPARE(m_catcher->texts(), QStringList({ text }));
    QCOMPARE(m_catcher->boxes[0].title, boxTitle);
    QCOMPARE(m_catcher->boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(m_catcher->boxes[0].parent, w);
    QVERIFY(!w->scenario());
    QVERIFY(w->diffButton()->isEnabled());
}

void Tst_mainwindow::wholeRun()
{
    QFile::remove(QStringLiteral("new_zov.xml"));
    Mainwindow* w = window();
    setPaths(w, QStringLiteral("old.xml"), QStringLiteral("new.xml"));
    w->diff();

    // The writer's end arrives as a queued signal, so the controls are still off here.
    QVERIFY(w->writer());
    QVERIFY(!w->diffButton()->isEnabled());
    QVERIFY(!w->configAction()->isEnabled());
    QVERIFY(w->scenario());
    QCOMPARE(w->statusBar()->currentMessage(), QStringLiteral("Comparison finished."));
    QTreeWidgetItem* left = w->view()->leftTree()->topLevelItem(0);
    QTreeWidgetItem* right = w->view()->rightTree()->topLevelItem(0);
    QVERIFY(left && right);
    QCOMPARE(left->text(0), QStringLiteral("library"));
    QVERIFY(right->isExpanded());
    QVERIFY(right->childCount() > 0);
    QVERIFY(m_catcher->boxes.isEmpty());

    QSignalSpy finished(w->writer(), &QThread::finished);
    QTRY_VERIFY(w->diffButton()->isEnabled());
    QVERIFY(w->configAction()->isEnabled());
    QVERIFY(!w->writer());
    QVERIFY(isCompleteXml(QStringLiteral("new_zov.xml")));
    const QString log = w->logWindow()->toPlainText();
    for (const char* line : { "Comparison finished.  Info", "Starting to write result file  Info",
             "Writing result file finished.  Info", " returned from write process.  Info" })
        QVERIFY2(log.contains(QLatin1String(line)), line);
    QVERIFY(log.indexOf(QLatin1String("Writing result file finished."))
        > log.indexOf(QLatin1String("Starting to write result file")));
}

void Tst_mainwindow::twoRunsKeepTheArguments()
{
    Mainwindow* w = window({ QStringLiteral("zov"), QStringLiteral("-cfg"),
        m_dir.filePath(QStringLiteral("zov_cfg.xml")) });
    runToEnd(w, QStringLiteral("old.xml"), QStringLiteral("new.xml"));
    runToEnd(w, QStringLiteral("new.xml"), QStringLiteral("old.xml"));
    QCOMPARE(m_arguments,
        QStringList({ "zov", "new.xml", "old.xml", "old.xml", "new.xml", "-cfg",
            m_dir.filePath(QStringLiteral("zov_cfg.xml")) }));
    QVERIFY(m_catcher->boxes.isEmpty());
    QVERIFY(w->view()->rightTree()->topLevelItem(0));
}

void Tst_mainwindow::failedRun_data()
{
    QTest::addColumn<QString>("path1");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("logged");
    QTest::newRow("missing file") << "missing.xml"
                                  << "Error in init function. For details see log file."
                                  << "File not found: missing.xml";
    QTest::newRow("broken file") << "broken.xml"
                                 << "Error while parsing XML file.\nFor details see log file."
                                 << "Error while parsing XML file broken.xml";
}

void Tst_mainwindow::failedRun()
{
    QFETCH(QString, path1);
    QFETCH(QString, box);
    QFETCH(QString, logged);
    Mainwindow* w = window();
    QByteArray logAtBox;
    m_catcher->onBox = [&logAtBox] {
        QFile log(QStringLiteral("zov_log.txt"));
        if (log.open(QIODevice::ReadOnly))
            logAtBox = log.readAll();
    };
    runToEnd(w, path1, QStringLiteral("new.xml"));
    QCOMPARE(m_catcher->texts(), QStringList({ box }));
    // The box sends the user to the log file: its lines are there while the box is shown.
    QVERIFY2(logAtBox.contains(logged.toUtf8()), logAtBox.constData());
    QCOMPARE(m_catcher->boxes[0].icon, QMessageBox::Critical);
    QVERIFY(w->diffButton()->isEnabled());
    QVERIFY(w->configAction()->isEnabled());
    QCOMPARE(w->view()->rightTree()->topLevelItemCount(), 0);
    QVERIFY(w->logWindow()->toPlainText().contains(logged));
}

void Tst_mainwindow::quitWaitsForWriter()
{
    QVERIFY(writeTextFile(QStringLiteral("big1.xml"), largeDocument(20000, 7)));
    QVERIFY(writeTextFile(QStringLiteral("big2.xml"), largeDocument(20000, 5)));
    QFile::remove(QStringLiteral("big2_zov.xml"));
    Mainwindow* w = window();
    setPaths(w, QStringLiteral("big1.xml"), QStringLiteral("big2.xml"));
    w->diff();
    Writethread* writer = w->writer();
    QVERIFY(writer);
    w->quit();
    QCOMPARE(w->statusBar()->currentMessage(), QStringLiteral("Freeing memory, cleaning up..."));
    QVERIFY(!w->scenario());
    QVERIFY(!w->writer() || w->writer()->isFinished());
    QCOMPARE(w->view()->leftTree()->topLevelItemCount(), 0);
    QVERIFY(isCompleteXml(QStringLiteral("big2_zov.xml")));
}

void Tst_mainwindow::languageSwitch()
{
    Mainwindow* w = window();
    QPushButton* file1 = w->findChild<QPushButton*>(QStringLiteral("pb_file1"));
    QVERIFY(file1);

    // The interface starts in English, and says so.
    QCOMPARE(w->languageGroup()->checkedAction()->text(), QStringLiteral("English"));
    w->languageGroup()->actions().at(1)->trigger();
    QVERIFY(m_catcher->boxes.isEmpty());
    QCOMPARE(actionTexts(w->menuBar()->actions()),
        QStringList({ "Datei", "Bearbeiten", "Ansicht", "Sprache", "Hilfe" }));
    QCOMPARE(w->configAction()->text(), QStringLiteral("Konfiguration"));
    QCOMPARE(file1->text(), QStringLiteral("XML-Datei 1"));
    QCOMPARE(w->view()->rightTree()->headerItem()->text(2), QStringLiteral("Änderungsmarken"));
    // The diff button keeps the text it was built with.
    QCOMPARE(w->diffButton()->text(), QStringLiteral("Diff"));
    QCOMPARE(w->nextAction()->text(), QStringLiteral("Nächste Änderung"));

    w->languageGroup()->actions().at(2)->trigger();
    QCOMPARE(file1->text(), QStringLiteral("Fichier XML 1"));
    // English can be chosen again without a restart.
    w->languageGroup()->actions().at(0)->trigger();
    QCOMPARE(file1->text(), QStringLiteral("Xml file 1"));
    QCOMPARE(w->nextAction()->text(), QStringLiteral("Next change"));

    // A missing file warns and falls back to the source texts.
    QAction missing(QStringLiteral("Klingon"));
    missing.setData(QStringLiteral("zov_tl.qm"));
    w->switchlanguage(&missing);
    QCOMPARE(
        m_catcher->texts(), QStringList({ QStringLiteral("Language file zov_tl.qm not found.") }));
    QCOMPARE(m_catcher->boxes[0].icon, QMessageBox::Warning);
    QCOMPARE(w->menuBar()->actions().at(0)->text(), QStringLiteral("File"));
}

void Tst_mainwindow::filePickers()
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

void Tst_mainwindow::configAction()
{
    const QString elsewhere = m_dir.filePath(QStringLiteral("elsewhere.xml"));
    Mainwindow* w = window({ QStringLiteral("zov"), QStringLiteral("-cfg"), elsewhere });
    w->configAction()->trigger();
    QVERIFY(w->cfgdialog() && w->cfgdialog()->isVisible());
    // No file there yet: the dialog shows the built-in settings, and Save will create it.
    QVERIFY(m_catcher->boxes.isEmpty());
    QVERIFY(w->statusBar()->currentMessage().contains(QDir::toNativeSeparators(elsewhere)));
    QCOMPARE(Cfgstore::instance().cfgpath(), elsewhere);
    QCOMPARE(w->cfgdialog()->widgetValues(), builtinValues());
}

void Tst_mainwindow::navigateWithKeys()
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

QTEST_MAIN(Tst_mainwindow)
#include "tst_mainwindow.moc"
