#pragma once

#include <QMainWindow>
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <memory>

class Cfgdialog;
class Changenavigator;
class Matchfilter;
class Diffscenario;
class Logwindowsink;
class QAction;
class QActionGroup;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class QToolBar;
class QTranslator;
class Runthread;
class Summarybar;
class Writethread;
class Zovvisual;

// The program's only window: the two path fields with their pickers, the "Diff" button, the
// twin tree view, the log window, the configuration dialog and the current run.
class Mainwindow : public QMainWindow {
    Q_OBJECT

public:
    // arguments: the program's argument list, built in main and kept alive while the window
    // lives; each run inserts its two files at positions 1 and 2.
    explicit Mainwindow(QStringList* arguments);
    ~Mainwindow() override;

    // The title of the window and of every message box.
    static QString boxTitle();
    // The folder searched for the program's own translation files.
    static QString translationDir();

    Diffscenario* scenario() const { return m_scenario.get(); }
    Writethread* writer() const { return m_writer.get(); }
    // The run's init, parse and compare while they go; null otherwise.
    Runthread* runner() const { return m_runner.get(); }
    QProgressBar* progressBar() const { return m_progress; }
    Cfgdialog* cfgdialog() const { return m_cfgdialog.get(); }
    Zovvisual* view() const { return m_view; }
    QPlainTextEdit* logWindow() const { return m_logWindow.get(); }
    QPushButton* diffButton() const { return m_diffButton; }
    QAction* configAction() const { return m_configAction; }
    QMenu* languageMenu() const { return m_languageMenu; }
    QActionGroup* languageGroup() const { return m_languageGroup; }
    QLineEdit* pathField1() const { return m_pathField1; }
    QLineEdit* pathField2() const { return m_pathField2; }
    const QString& path1() const { return m_path1; }
    const QString& path2() const { return m_path2; }
    Changenavigator* navigator() const { return m_navigator; }
    Matchfilter* matchfilter() const { return m_matchfilter; }
    Summarybar* summarybar() const { return m_summarybar; }
    QAction* nextAction() const { return m_nextAction; }
    QAction* previousAction() const { return m_previousAction; }
    QAction* filterAction() const { return m_filterAction; }

public Q_SLOTS:
    void diff();
    void config();
    void showlog();
    void about();
    void quit();
    void selectfile1();
    void selectfile2();
    void setpath1();
    void setpath2();
    void run_finished();
    void write_finished();
    void switchlanguage(QAction* action);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createActions();
    void createViewActions();
    void connectNavigation();
    // Moves to the next or previous change and tells in the status bar when there is none.
    void navigate(bool forward);
    void createLanguageMenu();
    void createCentralArea();
    void fillFromCommandLine();
    void startupCheck();
    // Says in the status bar and the log window that the built-in settings are in use.
    void tellFirstStart();
    void retranslate();
    void showBox(QMessageBox::Icon icon, const QString& text);
    void showStatus(const QString& text);
    // Shows the running step in the status bar.
    void showStep();
    // Waits for a run and its writer and drops them, so nothing is left running.
    void endRun();
    void setRunControlsEnabled(bool on);
    // Everything else that reads the settings, off while a run's worker may write them.
    void setSettingsReadersEnabled(bool on);
    // The shared half of selectfile1 and selectfile2.
    void selectfile(const QString& caption, QLineEdit* field, QString* path, QString* place);

    std::unique_ptr<Diffscenario> m_scenario;
    QMenu* m_fileMenu = nullptr;
    QMenu* m_editMenu = nullptr;
    QMenu* m_languageMenu = nullptr;
    QMenu* m_helpMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QToolBar* m_editToolBar = nullptr;
    QToolBar* m_helpToolBar = nullptr;
    QToolBar* m_viewToolBar = nullptr;
    QAction* m_quitAction = nullptr;
    QAction* m_configAction = nullptr;
    QAction* m_logAction = nullptr;
    QAction* m_aboutQtAction = nullptr;
    QAction* m_aboutAction = nullptr;
    QAction* m_nextAction = nullptr;
    QAction* m_previousAction = nullptr;
    QAction* m_filterAction = nullptr;
    QActionGroup* m_languageGroup = nullptr;
    // The source texts, always there, first in the menu.
    QAction* m_englishAction = nullptr;
    int m_languageFileCount = 0;
    std::unique_ptr<QTranslator> m_appTranslator;
    std::unique_ptr<QTranslator> m_qtTranslator;
    QLineEdit* m_pathField1 = nullptr;
    QLineEdit* m_pathField2 = nullptr;
    QPushButton* m_diffButton = nullptr;
    QPushButton* m_file1Button = nullptr;
    QPushButton* m_file2Button = nullptr;
    Zovvisual* m_view = nullptr;
    Summarybar* m_summarybar = nullptr;
    Changenavigator* m_navigator = nullptr;
    Matchfilter* m_matchfilter = nullptr;
    std::unique_ptr<QPlainTextEdit> m_logWindow;
    std::unique_ptr<Logwindowsink> m_logSink;
    std::unique_ptr<Runthread> m_runner;
    std::unique_ptr<Writethread> m_writer;
    QProgressBar* m_progress = nullptr;
    QTimer* m_stepTimer = nullptr;
    int m_shownStep = -1;
    QString m_path1;
    QString m_path2;
    QString m_lastPlace1;
    QString m_lastPlace2;
    QStringList* m_arguments;
    std::unique_ptr<Cfgdialog> m_cfgdialog;
};
