#include "app/mainwindow.h"

#include "config/cfgstore.h"
#include "gui/cfgdialog.h"
#include "gui/changenavigator.h"
#include "gui/matchfilter.h"
#include "gui/summarybar.h"
#include "gui/waitcursor.h"
#include "gui/zovresources.h"
#include "gui/zovvisual.h"
#include "run/diffscenario.h"
#include "run/logger.h"
#include "run/runthread.h"
#include "run/writethread.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QThread>
#include <QTimer>
#include <QToolBar>
#include <QTranslator>
#include <QVBoxLayout>

// Hands log lines to the log window, always at its end whatever the user clicked. Lines from
// other threads (a run's worker, the writer) reach the widget through its own thread's loop.
class Logwindowsink : public Logsink {
public:
    explicit Logwindowsink(QPlainTextEdit* edit)
        : m_edit(edit)
        , m_thread(edit->thread())
    {
    }

    void appendLine(const QString& line) override
    {
        if (QThread::currentThread() == m_thread)
            append(m_edit, line);
        else
            QMetaObject::invokeMethod(
                m_edit, [edit = m_edit, line] { append(edit, line); }, Qt::QueuedConnection);
    }

private:
    static void append(QPlainTextEdit* edit, const QString& line)
    {
        edit->moveCursor(QTextCursor::End);
        edit->insertPlainText(line);
    }

    QPlainTextEdit* m_edit;
    QThread* m_thread;
};

// Texts set while the window is built use its own translation context; texts set later
// (message boxes, status messages, retranslation) use the empty one.
namespace {

const char* const windowTitleText = QT_TRANSLATE_NOOP("", " ZOV Tralvex Freeware version");
// Every translation file names its own language as the translation of this text.
const char* const languageNameText = QT_TRANSLATE_NOOP("", "English");

} // namespace

Mainwindow::Mainwindow(QStringList* arguments)
    : QMainWindow(nullptr)
    , m_appTranslator(std::make_unique<QTranslator>())
    , m_qtTranslator(std::make_unique<QTranslator>())
    , m_lastPlace1(QStringLiteral("."))
    , m_lastPlace2(QStringLiteral("."))
    , m_arguments(arguments)
{
    zovInitResources();
    setWindowTitle(QLatin1String(windowTitleText));
    setWindowIcon(QIcon(QStringLiteral(":img/zov.png")));
    statusBar();
    QCoreApplication::installTranslator(m_appTranslator.get());
    QCoreApplication::installTranslator(m_qtTranslator.get());

    m_fileMenu = menuBar()->addMenu(tr("File"));
    m_editMenu = menuBar()->addMenu(tr("Edit"));
    m_viewMenu = menuBar()->addMenu(tr("View"));
    m_languageMenu = menuBar()->addMenu(tr("Language"));
    m_helpMenu = menuBar()->addMenu(tr("Help"));
    m_editToolBar = addToolBar(tr("Edit"));
    m_editToolBar->setObjectName(QStringLiteral("tb_edit"));
    m_helpToolBar = addToolBar(tr("Help"));
    m_helpToolBar->setObjectName(QStringLiteral("tb_help"));
    m_viewToolBar = addToolBar(tr("View"));
    m_viewToolBar->setObjectName(QStringLiteral("tb_view"));

    createActions();
    createViewActions();
    createLanguageMenu();

    m_fileMenu->addAction(m_quitAction);
    m_editMenu->addAction(m_configAction);
    m_helpMenu->addAction(m_logAction);
    m_helpMenu->addSeparator();
    m_helpMenu->addAction(m_aboutQtAction);
    m_helpMenu->addAction(m_aboutAction);
    m_editToolBar->addAction(m_configAction);
    m_helpToolBar->addAction(m_logAction);
    for (QAction* action : { m_previousAction, m_nextAction, m_filterAction }) {
        m_viewMenu->addAction(action);
        m_viewToolBar->addAction(action);
    }

    createCentralArea();
    connectNavigation();
    m_viewMenu->addSeparator();
    m_viewMenu->addAction(m_view->shiftedAction());

    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("progress"));
    // No cheap measure of how far a step is: the bar only says that the run goes on.
    m_progress->setRange(0, 0);
    m_progress->setMaximumWidth(200);
    m_progress->hide();
    statusBar()->addPermanentWidget(m_progress);
    m_stepTimer = new QTimer(this);
    m_stepTimer->setInterval(100);
    connect(m_stepTimer, &QTimer::timeout, this, &Mainwindow::showStep);
    // Once the run is over the bar tells how far the view is with the items still to come.
    connect(m_view, &Zovvisual::fillProgress, this, [this](int percent) {
        if (m_runner)
            return;
        if (percent >= 100) {
            m_progress->hide();
            m_progress->setRange(0, 0);
            return;
        }
        m_progress->setRange(0, 100);
        m_progress->setValue(percent);
        m_progress->show();
    });

    m_logWindow = std::make_unique<QPlainTextEdit>();
    m_logWindow->setObjectName(QStringLiteral("logwindow"));
    m_logWindow->setReadOnly(true);
    m_logSink = std::make_unique<Logwindowsink>(m_logWindow.get());
    Logger::instance().attachWindow(m_logSink.get());

    startupCheck();
}

Mainwindow::~Mainwindow()
{
    // A run or writer still going would be destroyed under its own feet.
    endRun();
    m_cfgdialog.reset();
    Logger::instance().detachWindow(m_logSink.get());
}

QString Mainwindow::boxTitle() { return QCoreApplication::translate("", windowTitleText); }

QString Mainwindow::translationDir()
{
    const QString name = QStringLiteral("zov4translations");
    if (QDir(name).exists())
        return QDir::toNativeSeparators(name);
    const QString programDir = QCoreApplication::applicationDirPath();
    const QString beside = programDir + QLatin1Char('/') + name;
    if (QDir(beside).exists())
        return QDir::toNativeSeparators(beside);
    // Where an installed program keeps its data.
    const QString installed = QDir::cleanPath(programDir + QLatin1String("/../share/zov/") + name);
    if (QDir(installed).exists())
        return QDir::toNativeSeparators(installed);
    return QDir::toNativeSeparators(name);
}

void Mainwindow::createActions()
{
    m_quitAction = new QAction(tr("Quit"), this);
    m_quitAction->setObjectName(QStringLiteral("act_quit"));
    m_quitAction->setShortcut(QKeySequence(tr("Ctrl+Q")));
    m_quitAction->setStatusTip(tr("Quit"));
    connect(m_quitAction, &QAction::triggered, this, &Mainwindow::quit);

    m_configAction = new QAction(QIcon(QStringLiteral(":/img/cfg.png")), tr("Configuration"), this);
    m_configAction->setObjectName(QStringLiteral("act_config"));
    m_configAction->setShortcut(QKeySequence(tr("Ctrl+C")));
    m_configAction->setStatusTip(tr("Configuration"));
    connect(m_configAction, &QAction::triggered, this, &Mainwindow::config);

    m_logAction = new QAction(QIcon(QStringLiteral(":/img/log.png")), tr("Log messages"), this);
    m_logAction->setObjectName(QStringLiteral("act_log"));
    m_logAction->setShortcut(QKeySequence(tr("Ctrl+L")));
    m_logAction->setStatusTip(tr("Log messages"));
    connect(m_logAction, &QAction::triggered, this, &Mainwindow::showlog);

    m_aboutQtAction = new QAction(tr("About Qt"), this);
    m_aboutQtAction->setObjectName(QStringLiteral("act_aboutqt"));
    m_aboutQtAction->setStatusTip(tr("About Qt"));
    connect(m_aboutQtAction, &QAction::triggered, qApp, &QApplication::aboutQt);

    m_aboutAction = new QAction(tr(" About ZOV"), this);
    m_aboutAction->setObjectName(QStringLiteral("act_about"));
    m_aboutAction->setShortcut(QKeySequence(tr("Ctrl+X")));
    m_aboutAction->setStatusTip(tr(" About ZOV"));
    connect(m_aboutAction, &QAction::triggered, this, &Mainwindow::about);
}

void Mainwindow::createViewActions()
{
    m_nextAction
        = new QAction(style()->standardIcon(QStyle::SP_ArrowDown), tr("Next change"), this);
    m_nextAction->setObjectName(QStringLiteral("act_nextchange"));
    m_nextAction->setShortcut(QKeySequence(Qt::Key_F8));
    m_nextAction->setStatusTip(tr("Go to the next change"));

    m_previousAction
        = new QAction(style()->standardIcon(QStyle::SP_ArrowUp), tr("Previous change"), this);
    m_previousAction->setObjectName(QStringLiteral("act_previouschange"));
    m_previousAction->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F8));
    m_previousAction->setStatusTip(tr("Go to the previous change"));

    m_filterAction = new QAction(tr("Hide complete matches"), this);
    m_filterAction->setObjectName(QStringLiteral("act_hidematches"));
    m_filterAction->setCheckable(true);
    m_filterAction->setStatusTip(tr("Hide the nodes whose whole subtree matches"));
}

void Mainwindow::connectNavigation()
{
    m_navigator = new Changenavigator(m_view, this);
    m_matchfilter = new Matchfilter(m_view, this);
    connect(m_nextAction, &QAction::triggered, this, [this] { navigate(true); });
    connect(m_previousAction, &QAction::triggered, this, [this] { navigate(false); });
    connect(m_filterAction, &QAction::toggled, m_matchfilter, &Matchfilter::setActive);
    connect(m_summarybar, &Summarybar::kindChosen, m_navigator, &Changenavigator::setKind);
}

void Mainwindow::navigate(bool forward)
{
    switch (forward ? m_navigator->next() : m_navigator->previous()) {
    case Changenavigator::Step::Moved:
        if (m_navigator->remark().isEmpty())
            statusBar()->clearMessage();
        else
            showStatus(m_navigator->remark());
        break;
    case Changenavigator::Step::AtEnd:
        showStatus(forward ? QCoreApplication::translate("", "Last change reached.")
                           : QCoreApplication::translate("", "First change reached."));
        break;
    case Changenavigator::Step::NoChange:
        showStatus(QCoreApplication::translate("", "No change found."));
        break;
    case Changenavigator::Step::Failed:
        showStatus(QCoreApplication::translate("", "The change cannot be shown."));
        break;
    }
}

void Mainwindow::createLanguageMenu()
{
    const QString dir = translationDir();
    const QStringList files
        = QDir(dir).entryList({ QStringLiteral("zov_*.qm") }, QDir::Files, QDir::Name);
    m_languageFileCount = files.size();
    if (files.isEmpty())
        showBox(QMessageBox::Warning, QCoreApplication::translate("", "No language files found."));

    m_languageGroup = new QActionGroup(this);
    m_languageGroup->setExclusive(true);
    // The interface starts in the source language, so that is the one checked.
    m_englishAction = m_languageMenu->addAction(QStringLiteral("English"));
    m_englishAction->setObjectName(QStringLiteral("act_lang_en"));
    m_englishAction->setCheckable(true);
    m_englishAction->setChecked(true);
    m_languageGroup->addAction(m_englishAction);
    for (const QString& file : files) {
        QTranslator translator;
        QString name;
        if (translator.load(file, dir))
            name = translator.translate("", languageNameText);
        // A file that does not name its language still gets a usable entry.
        if (name.isEmpty())
            name = file;
        QAction* action = m_languageMenu->addAction(name);
        action->setCheckable(true);
        action->setData(file);
        m_languageGroup->addAction(action);
    }
    connect(m_languageGroup, &QActionGroup::triggered, this, &Mainwindow::switchlanguage);
}

void Mainwindow::createCentralArea()
{
    auto* container = new QLabel(this);
    container->setMinimumSize(1024, 736);
    setCentralWidget(container);

    m_pathField1 = new QLineEdit(container);
    m_pathField1->setObjectName(QStringLiteral("le_path1"));
    m_pathField2 = new QLineEdit(container);
    m_pathField2->setObjectName(QStringLiteral("le_path2"));
    fillFromCommandLine();

    m_file1Button = new QPushButton(tr("Xml file 1"), container);
    m_file1Button->setObjectName(QStringLiteral("pb_file1"));
    m_file2Button = new QPushButton(tr("Xml file 2"), container);
    m_file2Button->setObjectName(QStringLiteral("pb_file2"));
    m_diffButton = new QPushButton(tr("Diff"), container);
    m_diffButton->setObjectName(QStringLiteral("pb_diff"));
    m_view = new Zovvisual(container);
    m_view->setObjectName(QStringLiteral("view"));
    m_view->setHeaders();
    m_summarybar = new Summarybar(m_view, container);
    m_summarybar->setObjectName(QStringLiteral("summary"));

    auto* column = new QVBoxLayout(container);
    auto* row = new QHBoxLayout();
    row->addWidget(m_pathField1, 0);
    row->addWidget(m_file1Button, 0);
    row->addWidget(m_pathField2, 0);
    row->addWidget(m_file2Button, 0);
    column->addLayout(row, 0);
    column->addWidget(m_diffButton, 0);
    column->addWidget(m_summarybar, 0);
    column->addWidget(m_view, 0);

    connect(m_file1Button, &QPushButton::clicked, this, &Mainwindow::selectfile1);
    connect(m_file2Button, &QPushButton::clicked, this, &Mainwindow::selectfile2);
    connect(m_pathField1, &QLineEdit::textEdited, this, &Mainwindow::setpath1);
    connect(m_pathField2, &QLineEdit::textEdited, this, &Mainwindow::setpath2);
    connect(m_diffButton, &QPushButton::clicked, this, &Mainwindow::diff);
}

void Mainwindow::fillFromCommandLine()
{
    const QStringList& arguments = *m_arguments;
    if (arguments.size() == 5
        || (arguments.size() == 3 && !arguments.contains(QLatin1String("-cfg")))) {
        m_pathField1->setText(arguments[1]);
        m_pathField2->setText(arguments[2]);
        setpath1();
        setpath2();
    }
}

void Mainwindow::startupCheck()
{
    // The file a run will read: the -cfg path when given.
    Cfgstore::instance().locate(*m_arguments);
    m_cfgdialog.reset();
    m_cfgdialog = std::make_unique<Cfgdialog>(this);
    const int code = m_cfgdialog->loadcfg();
    if (code < 0) {
        m_cfgdialog->show();
        showBox(QMessageBox::Critical,
            QCoreApplication::translate("", "Error while trying to read configuration file: %1\n")
                .arg(-1095));
        return;
    }
    m_cfgdialog.reset();
    if (code == 1)
        tellFirstStart();
}

void Mainwindow::tellFirstStart()
{
    const QString path = QDir::toNativeSeparators(Cfgstore::instance().cfgpath());
    const QString text = QCoreApplication::translate("",
        "No configuration file %1 yet: the built-in settings are used; Save in the configuration "
        "dialog creates the file.")
                             .arg(path);
    showStatus(text);
    Logger::instance().write(text, Logger::Info, Logger::WindowOnly);
}

void Mainwindow::showBox(QMessageBox::Icon icon, const QString& text)
{
    // A box that points to the log file must find its lines there.
    Logger::instance().flush();
    QMessageBox box(icon, boxTitle(), text, QMessageBox::Ok, this);
    box.exec();
}

void Mainwindow::showStatus(const QString& text) { statusBar()->showMessage(text); }

void Mainwindow::setRunControlsEnabled(bool on)
{
    m_configAction->setEnabled(on);
    m_diffButton->setEnabled(on);
}

void Mainwindow::setSettingsReadersEnabled(bool on)
{
    for (QAction* action :
        { m_nextAction, m_previousAction, m_filterAction, m_view->shiftedAction() })
        action->setEnabled(on);
    m_languageMenu->setEnabled(on);
    m_summarybar->setEnabled(on);
}

void Mainwindow::diff()
{
    // The controls are disabled while a run goes; a direct call must not start over.
    if (m_runner || m_writer)
        return;
    if (m_path1.isEmpty() && m_path2.isEmpty()) {
        showBox(QMessageBox::Warning,
            QCoreApplication::translate("", "No files have been selected yet for comparison."));
        return;
    }
    if (m_path1.isEmpty()) {
        showBox(QMessageBox::Warning,
            QCoreApplication::translate("", "Xml file 1 hasn't been selected yet."));
        return;
    }
    if (m_path2.isEmpty()) {
        showBox(QMessageBox::Warning,
            QCoreApplication::translate("", "Xml file 2 hasn't been selected yet."));
        return;
    }

    setRunControlsEnabled(false);
    showStatus(QCoreApplication::translate("", "Reset Visualization..."));
    m_view->reset();
    std::unique_ptr<Diffscenario> previous = std::move(m_scenario);
    m_arguments->insert(1, m_path1);
    m_arguments->insert(2, m_path2);
    m_scenario = std::make_unique<Diffscenario>(*m_arguments, true);
    m_scenario->setBuiltinFallback(true);
    m_runner = std::make_unique<Runthread>(m_scenario.get());
    m_runner->discardFirst(std::move(previous));
    connect(m_runner.get(), &QThread::finished, this, &Mainwindow::run_finished);
    setSettingsReadersEnabled(false);
    m_shownStep = -1;
    showStep();
    m_progress->show();
    m_stepTimer->start();
    m_runner->start(QThread::InheritPriority);
}

void Mainwindow::showStep()
{
    if (!m_runner)
        return;
    const Runthread::Step step = m_runner->step();
    if (step == m_shownStep)
        return;
    m_shownStep = step;
    switch (step) {
    case Runthread::Init:
        showStatus(QCoreApplication::translate("", "Initiate diff scenario"));
        break;
    case Runthread::Parse:
        showStatus(QCoreApplication::translate("", "Parsing XML files..."));
        break;
    case Runthread::Compare:
    case Runthread::Done:
        showStatus(QCoreApplication::translate("", "Running the tree compare process..."));
        break;
    }
}

void Mainwindow::run_finished()
{
    // Gone already when quitting waited for the run.
    if (!m_runner)
        return;
    m_runner->wait();
    const Runthread::Step step = m_runner->step();
    m_runner.reset();
    m_stepTimer->stop();
    m_progress->hide();
    setSettingsReadersEnabled(true);
    if (step == Runthread::Init || step == Runthread::Parse) {
        setRunControlsEnabled(true);
        statusBar()->clearMessage();
        showBox(QMessageBox::Critical,
            step == Runthread::Init
                ? QCoreApplication::translate(
                    "", "Error in init function. For details see log file.")
                : QCoreApplication::translate(
                    "", "Error while parsing XML file.\nFor details see log file."));
        return;
    }

    Logger& log = Logger::instance();
    log.write(QStringLiteral("Comparison finished."), Logger::Info, Logger::FileAndWindow);
    m_writer = std::make_unique<Writethread>(m_scenario.get());
    connect(m_writer.get(), &QThread::finished, this, &Mainwindow::write_finished);
    m_writer->start(QThread::InheritPriority);
    log.write(QStringLiteral("Starting to write result file"), Logger::Info, Logger::WindowOnly);
    {
        const Waitcursor wait;
        m_view->show(m_scenario->tree1(), m_scenario->resultTree());
    }
    log.flush();
    showStatus(QCoreApplication::translate("", "Comparison finished."));
}

void Mainwindow::write_finished()
{
    setRunControlsEnabled(true);
    if (!m_writer)
        return;
    // finished() is emitted just before the thread really ends.
    m_writer->wait();
    const QString result = m_writer->result();
    m_writer.reset();
    Logger& log = Logger::instance();
    log.write(QStringLiteral("Writing result file finished."), Logger::Info, Logger::WindowOnly);
    log.write(QStringLiteral("%1 returned from write process.").arg(result), Logger::Info,
        Logger::WindowOnly);
    log.flush();
}

void Mainwindow::endRun()
{
    if (m_runner)
        m_runner->wait();
    m_runner.reset();
    if (m_writer)
        m_writer->wait();
    m_writer.reset();
    m_stepTimer->stop();
    m_progress->hide();
    setSettingsReadersEnabled(true);
    // The view points into the trees that go with the run.
    m_view->reset();
    m_scenario.reset();
}

void Mainwindow::quit()
{
    showStatus(QCoreApplication::translate("", "Freeing memory, cleaning up..."));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    endRun();
    setRunControlsEnabled(true);
    // Ending a loop that is not running would make every later loop return at once.
    if (QThread::currentThread()->loopLevel() > 0)
        QCoreApplication::exit(0);
}

void Mainwindow::closeEvent(QCloseEvent* event)
{
    quit();
    event->accept();
}

void Mainwindow::config()
{
    // A run reads the settings until its result is written.
    if (m_runner || m_writer)
        return;
    Cfgstore::instance().locate(*m_arguments);
    m_cfgdialog.reset();
    m_cfgdialog = std::make_unique<Cfgdialog>(this);
    m_cfgdialog->show();
    const int code = m_cfgdialog->loadcfg();
    if (code < 0) {
        showBox(QMessageBox::Critical,
            QCoreApplication::translate("", "Error while trying to read configuration file: %1\n")
                .arg(-1095));
    } else if (code == 1) {
        tellFirstStart();
    }
}

void Mainwindow::showlog()
{
    m_logWindow->setWindowTitle(QCoreApplication::translate("", "ZOV log messages"));
    m_logWindow->setWindowIcon(QIcon(QStringLiteral(":img/log.png")));
    m_logWindow->resize(600, 800);
    m_logWindow->show();
}

void Mainwindow::about()
{
    QMessageBox box(QMessageBox::NoIcon, boxTitle(),
        QCoreApplication::translate("",
            "<h3>ZOV %1</h3>"
            "<p>ZOV compares two XML documents as trees. It shows the old document "
            "beside the merged result, coloured by the kind of change found for every "
            "node, writes the merged result with change marks as an XML file and logs "
            "each run.</p>"
            "<p>Freeware.</p>")
            .arg(QLatin1String(ZOV_VERSION)),
        QMessageBox::Ok, this);
    box.setIconPixmap(QPixmap(QStringLiteral(":img/zov.png")));
    box.exec();
}

void Mainwindow::selectfile(const QString& caption, QLineEdit* field, QString* path, QString* place)
{
    *path = QFileDialog::getOpenFileName(this, caption, *place,
        QCoreApplication::translate(
            "", "Xml files (*.xml *.XML);;Svg files (*.svg *.SVG);;All files (*.*)"));
    if (path->isEmpty()) {
        // Cancelled: keep the file chosen or typed before.
        if (*place != QLatin1String(".")) {
            *path = *place;
            field->setText(*path);
        }
        return;
    }
    const QString native = QDir::toNativeSeparators(*path);
    field->setText(native);
    *place = native;
}

void Mainwindow::selectfile1()
{
    selectfile(
        QCoreApplication::translate("", "Xml file 1"), m_pathField1, &m_path1, &m_lastPlace1);
}

void Mainwindow::selectfile2()
{
    selectfile(
        QCoreApplication::translate("", "Xml file 2"), m_pathField2, &m_path2, &m_lastPlace2);
}

void Mainwindow::setpath1()
{
    m_path1 = m_pathField1->text();
    m_lastPlace1 = m_path1;
}

void Mainwindow::setpath2()
{
    m_path2 = m_pathField2->text();
    m_lastPlace2 = m_path2;
}

void Mainwindow::switchlanguage(QAction* action)
{
    if (action && action == m_englishAction) {
        // A translator cannot unload its file; fresh ones give the source texts back.
        for (std::unique_ptr<QTranslator>* translator : { &m_appTranslator, &m_qtTranslator }) {
            QCoreApplication::removeTranslator(translator->get());
            *translator = std::make_unique<QTranslator>();
            QCoreApplication::installTranslator(translator->get());
        }
        retranslate();
        return;
    }
    const QString file = action ? action->data().toString() : QString();
    if (file.isEmpty())
        return;
    const QString dir = translationDir();
    if (!m_appTranslator->load(file, dir)) {
        showBox(QMessageBox::Warning,
            QCoreApplication::translate("", "Language file %1 not found.").arg(file));
        // What is shown now is the source language.
        m_englishAction->setChecked(true);
    }
    const QString qtFile = QLatin1String("qt_") + file.mid(4, 2) + QLatin1String(".qm");
    // The toolkit's own texts are optional: without them only ours change.
    const bool toolkitTranslated = m_qtTranslator->load(qtFile, QStringLiteral("qttranslations"))
        || m_qtTranslator->load(qtFile, QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    Q_UNUSED(toolkitTranslated);
    retranslate();
}

void Mainwindow::retranslate()
{
    m_fileMenu->setTitle(QCoreApplication::translate("", "File"));
    m_editMenu->setTitle(QCoreApplication::translate("", "Edit"));
    m_languageMenu->setTitle(QCoreApplication::translate("", "Language"));
    m_helpMenu->setTitle(QCoreApplication::translate("", "Help"));
    m_quitAction->setText(QCoreApplication::translate("", "Quit"));
    m_quitAction->setStatusTip(QCoreApplication::translate("", "Quit"));
    m_configAction->setText(QCoreApplication::translate("", "Configuration"));
    m_configAction->setStatusTip(QCoreApplication::translate("", "Configuration"));
    m_configAction->setShortcut(QKeySequence(QCoreApplication::translate("", "Ctrl+C")));
    m_aboutQtAction->setText(QCoreApplication::translate("", "About Qt"));
    m_aboutQtAction->setStatusTip(QCoreApplication::translate("", "About Qt"));
    m_aboutAction->setText(QCoreApplication::translate("", " About ZOV"));
    m_aboutAction->setStatusTip(QCoreApplication::translate("", " About ZOV"));
    m_file1Button->setText(QCoreApplication::translate("", "Xml file 1"));
    m_file2Button->setText(QCoreApplication::translate("", "Xml file 2"));
    m_view->setHeaders();
    m_viewMenu->setTitle(QCoreApplication::translate("", "View"));
    m_viewToolBar->setWindowTitle(QCoreApplication::translate("", "View"));
    m_nextAction->setText(QCoreApplication::translate("", "Next change"));
    m_nextAction->setStatusTip(QCoreApplication::translate("", "Go to the next change"));
    m_previousAction->setText(QCoreApplication::translate("", "Previous change"));
    m_previousAction->setStatusTip(QCoreApplication::translate("", "Go to the previous change"));
    m_filterAction->setText(QCoreApplication::translate("", "Hide complete matches"));
    m_filterAction->setStatusTip(
        QCoreApplication::translate("", "Hide the nodes whose whole subtree matches"));
    m_summarybar->retranslate();
}
