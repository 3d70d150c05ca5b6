#include "run/diffscenario.h"

#include "compare/comparedriver.h"
#include "config/cfgstore.h"
#include "model/zovtree.h"
#include "run/logger.h"
#include "run/parsethread.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace {

void info(const QString& message, int target = Logger::FileAndWindow)
{
    Logger::instance().write(message, Logger::Info, target);
}

// Early messages go to both standard streams because the log may not be open; to standard error
// alone when standard output carries data.
void printToStandardStreams(const QString& text, bool standardErrorOnly)
{
    const QByteArray bytes = text.toLocal8Bit();
    if (!standardErrorOnly) {
        std::fputs(bytes.constData(), stdout);
        std::fflush(stdout);
    }
    std::fputs(bytes.constData(), stderr);
    std::fflush(stderr);
}

QString argument(const QStringList& arguments, int index)
{
    return index < arguments.size() ? arguments.at(index) : QString();
}

} // namespace

Diffscenario::Diffscenario(QStringList& arguments, bool guiRun)
    : m_arguments(arguments)
    , m_guiRun(guiRun)
{
}

Diffscenario::~Diffscenario()
{
    // Trees first, then the log, so nothing is logged into a file that is gone.
    m_tree1.reset();
    m_tree2.reset();
    m_resultTree.reset();
    if (!m_sharedSetup)
        closeLog();
}

void Diffscenario::logError(const QString& message)
{
    m_lastError = message;
    Logger::instance().write(message, Logger::Error, Logger::FileAndWindow);
}

int Diffscenario::readConfiguration()
{
    Cfgstore& cfg = Cfgstore::instance();
    cfg.locate(m_arguments);
    m_usedBuiltins = false;
    const int code = cfg.readcfg();
    if (code == -1015 && m_builtinFallback) {
        cfg.useBuiltins();
        m_usedBuiltins = true;
    } else if (code != 0) {
        const QString text
            = QStringLiteral("Error while trying to read configuration file: %1\n").arg(code);
        printToStandardStreams(text, m_standardErrorOnly);
        // The log opens with the settings held before (the built-in ones when there are none),
        // so that the error a front end points to is in the log file.
        if (cfg.parameters().isEmpty())
            cfg.useBuiltins();
        createLogFile();
        logError(text.trimmed());
        return -1095;
    }
    for (const auto& [key, value] : std::as_const(m_overrides))
        cfg.setParameter(key, value);
    return 0;
}

void Diffscenario::logConfiguration()
{
    Cfgstore& cfg = Cfgstore::instance();
    info(QStringLiteral("Path to configuration file: ") + cfg.cfgpath());
    if (m_usedBuiltins)
        info(QStringLiteral("No configuration file found, using the built-in settings"));
    for (auto it = cfg.parameters().cbegin(); it != cfg.parameters().cend(); ++it)
        info(it.key().text + QLatin1Char(' ') + it.value(), Logger::FileOnly);
    info(cfg.excluded().join(QLatin1Char(' ')), Logger::FileOnly);
    for (const Anchor& anchor : cfg.anchors())
        info(anchor.logForm(), Logger::FileOnly);
}

int Diffscenario::init()
{
    if (!m_sharedSetup) {
        const int code = readConfiguration();
        if (code != 0)
            return code;
        createLogFile();
        logConfiguration();
    }

    m_file1.setFileName(argument(m_arguments, 1));
    m_file2.setFileName(argument(m_arguments, 2));
    for (const QFile* file : { &m_file1, &m_file2 }) {
        if (file->fileName().isEmpty() || !file->exists()) {
            logError(QStringLiteral("File not found: ") + file->fileName());
            return -1015;
        }
    }
    const int prologCode = readProlog();
    if (prologCode != 0) {
        logError(QStringLiteral("Could not open file ") + m_file2.fileName());
        return prologCode;
    }
    return 0;
}

int Diffscenario::createLogFile()
{
    Logger& log = Logger::instance();
    const Cfgstore& cfg = Cfgstore::instance();
    if (!cfg.getBool(QStringLiteral("write_log"))) {
        log.setState(1);
        return 0;
    }
    log.setState(0);
    const QString logdir = cfg.getString(QStringLiteral("logdir"));
    const QString directory = logdir.trimmed().isEmpty() ? QDir::currentPath() : logdir;
    const QString name = directory + QDir::separator() + QStringLiteral("zov_log.txt");

    m_logFile = std::make_unique<QFile>(name);
    // The log never replaces one of the documents being compared.
    const bool isInput = isInputFile(name, argument(m_arguments, 1))
        || isInputFile(name, argument(m_arguments, 2));
    if (isInput || !m_logFile->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        log.setState(1);
        m_logFile.reset();
        printToStandardStreams(QStringLiteral("Warning: Unable to create log file %1 \n").arg(name),
            m_standardErrorOnly);
        return -1040;
    }
    log.setDevice(m_logFile.get());
    info(QDate::currentDate().toString(Qt::TextDate) + QStringLiteral(" Starting ZOV log"));
    return 0;
}

void Diffscenario::closeLog()
{
    Logger& log = Logger::instance();
    log.flush();
    log.setState(1);
    if (m_logFile) {
        log.setDevice(nullptr);
        m_logFile->close();
        m_logFile.reset();
    }
}

int Diffscenario::parseFiles()
{
    // The reader buffers by itself; a second buffer in the file would only copy the bytes.
    if (!m_file1.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        logError(QStringLiteral("Error: Unable to open file ") + m_file1.fileName());
        return -1020;
    }
    if (!m_file2.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        m_file1.close();
        logError(QStringLiteral("Error: Unable to open file ") + m_file2.fileName());
        return -1020;
    }
    m_tree1 = std::make_unique<Zovtree>();
    m_tree2 = std::make_unique<Zovtree>();
    // Fingerprints are made while the nodes are read, on both parse threads at once.
    m_fingerprintFlags = Keyflags::fromConfig();
    m_fingerprinted = true;
    const Keyflags flags = m_fingerprintFlags;
    const auto fingerprint
        = [flags](Zovnode* node) { node->setFingerprint(fingerprintFromChildren(node, flags)); };
    m_tree1->setNodeFinished(fingerprint);
    m_tree2->setNodeFinished(fingerprint);

    Parsethread thread(m_tree1.get(), &m_file1);
    thread.start(QThread::InheritPriority);
    const int code = parseSecondInput();
    thread.wait();
    m_file1.close();
    if (!thread.error().isEmpty()) {
        logError(QStringLiteral("Error while parsing XML file ") + m_file1.fileName()
            + QStringLiteral(": ") + thread.error());
        return -1055;
    }
    return code;
}

int Diffscenario::parseSecondInput()
{
    const Cfgstore& cfg = Cfgstore::instance();
    QString error;
    if (cfg.getBool(QStringLiteral("write_parselog"))) {
        QFile parseLog(QDir::currentPath() + QDir::toNativeSeparators(QStringLiteral("/"))
            + QStringLiteral("ZOV_Parselog_") + QFileInfo(m_file2.fileName()).fileName());
        // An input that happens to carry the log's name is read, never overwritten.
        const bool isInput = isInputFile(parseLog.fileName(), m_file1.fileName())
            || isInputFile(parseLog.fileName(), m_file2.fileName());
        if (!isInput && parseLog.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
            error = m_tree2->loadWithLog(&m_file2, &parseLog);
        else
            error = m_tree2->load(&m_file2);
    } else {
        error = m_tree2->load(&m_file2);
    }
    m_file2.close();
    if (error.isEmpty())
        return 0;
    logError(QStringLiteral("Error while parsing XML file ") + m_file2.fileName()
        + QStringLiteral(": ") + error);
    return -1055;
}

int Diffscenario::compare()
{
    m_resultTree = std::make_unique<Zovtree>();
    Zovnode* root2 = m_tree2 ? m_tree2->root() : nullptr;
    if (root2)
        m_resultTree->setRoot(root2);
    info(QStringLiteral("Starting tree compare process"));
    Zovnode* root1 = m_tree1 ? m_tree1->root() : nullptr;
    m_workList.consumeSecondTree = true;
    m_workList.arena = &m_resultTree->arena();
    m_workList.fingerprintsStored = m_fingerprinted && m_fingerprintFlags == Keyflags::fromConfig();
    m_originals = Refinedoriginals();
    m_workList.originals = m_keepOriginals ? &m_originals : nullptr;
    if (root1 && root2 && m_resultTree->root())
        compareTrees(m_workList, m_guiRun, root1, root2, m_resultTree->root());
    m_workList.arena = nullptr;
    // Nodes moved from tree 2 into the result live in tree 2's storage.
    if (m_tree2)
        m_resultTree->shareStorage(*m_tree2);
    m_tree2.reset();
    return 0;
}

void Diffscenario::releaseFirstTree() { m_tree1.reset(); }

bool Diffscenario::isInputFile(const QString& path, const QString& input)
{
    if (input.isEmpty())
        return false;
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(input).canonicalFilePath();
}
