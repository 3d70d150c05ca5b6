#include "../testfiles.h"
#include "boxcatcher.h"
#include "script.h"

#include "config/cfgstore.h"
#include "gui/cfgdialog.h"
#include "gui/newanchor.h"
#include "run/logger.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

class Recorder : public Logsink {
public:
    void appendLine(const QString& line) override { lines << line.section(QLatin1Char(' '), 1); }
    QStringList lines;
};

// The values of a key table ordered list that differ from the built-in ones, as key=value.
QStringList changed(const QStringList& values)
{
    QStringList lines;
    const QStringList builtins = builtinValues();
    for (int i = 0; i < values.size(); ++i) {
        if (values[i] != builtins[i])
            lines << QLatin1String(cfgKeys()[i].key) + QLatin1Char('=') + values[i];
    }
    return lines;
}

QString anchorText(const Anchor& anchor)
{
    return anchor.name + (anchor.path.isEmpty() ? "" : " " + anchor.path)
        + (anchor.absolute ? " absolute" : "") + (anchor.normalizeSpaces ? " normalize" : "");
}

} // namespace

// The configuration dialog, driven by the scripts in data/cfgdialog.
class Tst_cfgdialog : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("zov_cfg.xml"));
    Recorder m_log;
    std::unique_ptr<Cfgdialog> m_dialog;
    std::unique_ptr<Boxcatcher> m_catcher;

    QString panel() const
    {
        QStringList names;
        for (int row = 0; row < m_dialog->elementlist->count(); ++row)
            names << m_dialog->elementlist->item(row)->text();
        names.sort();
        const QListWidgetItem* current = m_dialog->elementlist->currentItem();
        const QString path = m_dialog->lne_apath->text();
        return QStringLiteral("anchors %1 | current %2 | panel ")
                   .arg(names.isEmpty() ? "none" : names.join(QLatin1Char(',')),
                       current ? current->text() : "none")
            + anchorText({ path.isEmpty() ? "empty" : path, QString(),
                m_dialog->cb_absolute->isChecked(), m_dialog->cb_anchnormsp->isChecked() });
    }

    // Runs one script command and returns what it shows, with the boxes and log lines it caused.
    QStringList run(const QString& command)
    {
        const QString verb = command.section(QLatin1Char(' '), 0, 0);
        const QStringList words = command.split(QLatin1Char(' ')).mid(1);
        const QString rest = command.section(QLatin1Char(' '), 1);
        if (!m_dialog && !QStringList { "config", "file", "load", "stored" }.contains(verb))
            return { QStringLiteral("no dialog loaded") };
        QStringList shown;
        if (verb == "config") {
            // key=value words, and anchors as name,path,absolute,normalize with 1 for true.
            QHash<QString, QString> values;
            QList<Anchor> anchors;
            for (const QString& word : words) {
                const QStringList anchor = word.split(QLatin1Char(','));
                if (anchor.size() == 4)
                    anchors << Anchor { anchor[0], anchor[1], anchor[2] == "1", anchor[3] == "1" };
                else
                    values.insert(word.section(QLatin1Char('='), 0, 0), word.section('=', 1));
            }
            writeTextFile(m_path, configFileText(builtinValues(values), anchors).toUtf8());
        } else if (verb == "file") {
            QFile::remove(m_path);
            if (!rest.isEmpty())
                writeTextFile(m_path, rest.toUtf8());
        } else if (verb == "load") {
            m_dialog = std::make_unique<Cfgdialog>();
            m_dialog->show();
            if (!words.isEmpty())
                m_dialog->findChild<QCheckBox*>(words[0])->setChecked(true);
            shown << QStringLiteral("code %1").arg(m_dialog->loadcfg())
                  << changed(m_dialog->widgetValues()) << panel();
        } else if (verb == "check" || verb == "uncheck") {
            auto* box = m_dialog->findChild<QCheckBox*>(rest);
            box->setChecked(verb != "check");
            box->setChecked(verb == "check");
        } else if (verb == "enabled") {
            for (const QString& name : words) {
                const QWidget* widget = m_dialog->findChild<QWidget*>(name);
                shown << name + (widget && widget->isEnabled() ? " on" : " off");
            }
        } else if (verb == "select") {
            m_dialog->elementlist->setCurrentItem(
                m_dialog->elementlist->findItems(rest, Qt::MatchExactly).value(0));
            shown << panel();
        } else if (verb == "edit") {
            m_dialog->lne_apath->setText(words.value(0));
            m_dialog->cb_absolute->setChecked(words.contains("absolute"));
            m_dialog->cb_anchnormsp->setChecked(words.contains("normalize"));
        } else if (verb == "add") {
            // The new-anchor dialog gets the name and the path new/path, and OK unless cancel.
            m_catcher->onDialog = [words](QDialog* dialog) {
                if (auto* newanchor = qobject_cast<Newanchor*>(dialog)) {
                    newanchor->le_elementname->setText(words.value(0));
                    newanchor->le_anchorpath->setText(QStringLiteral("new/path"));
                    words.contains("cancel") ? newanchor->reject() : newanchor->accept();
                }
            };
            m_dialog->pb_addelement->click();
            shown << panel();
        } else if (verb == "delete") {
            m_dialog->pb_delelement->click();
            shown << panel();
        } else if (verb == "save" || verb == "save-elsewhere") {
            if (verb == "save-elsewhere")
                Cfgstore::instance().setPath(m_dir.filePath(QStringLiteral("missing/zov_cfg.xml")));
            m_dialog->pb_save->click();
            Cfgstore::instance().setPath(m_path);
            shown << (m_dialog->isVisible() ? "still open" : "closed");
        } else if (verb == "stored") {
            // What the file holds now, read afresh.
            Cfgstore& store = Cfgstore::instance();
            store.clear();
            shown << QStringLiteral("code %1").arg(store.readcfg());
            QStringList values;
            for (const Cfgkey& key : cfgKeys())
                values << store.getString(QLatin1String(key.key));
            shown << changed(values);
            QStringList anchors;
            for (const Anchor& anchor : store.anchors())
                anchors << QLatin1String("anchor ") + anchorText(anchor);
            anchors.sort();
            shown << anchors;
        } else {
            shown << QLatin1String("unknown command ") + verb;
        }
        for (const Boxcatcher::Box& box : std::exchange(m_catcher->boxes, {}))
            shown << QStringLiteral("box %1: %2").arg(box.title, box.text);
        for (const QString& line : std::exchange(m_log.lines, {}))
            shown << QLatin1String("log ") + line.simplified().replace(m_dir.path(), "<dir>");
        return shown;
    }

private Q_SLOTS:
    void initTestCase()
    {
        Cfgstore::instance().setPath(m_path);
        QVERIFY(Logger::instance().attachWindow(&m_log));
    }

    void init()
    {
        QFile::remove(m_path);
        m_catcher = std::make_unique<Boxcatcher>();
    }

    void cleanup()
    {
        m_dialog.reset();
        m_catcher.reset();
        m_log.lines.clear();
    }

    void cleanupTestCase() { Logger::instance().detachWindow(&m_log); }

    void script_data() { addScripts("cfgdialog"); }

    void script()
    {
        QFETCH(QString, path);
        runScript(path, [this](const QString& command) { return run(command); });
    }

    // Every key shows in its own widget and is read back from it.
    void everyKeyBound()
    {
        for (const Cfgkey& key : cfgKeys()) {
            const QString builtin = QLatin1String(key.builtin);
            const QString value = key.type == Cfgtype::Bool ? (builtin == "true" ? "false" : "true")
                : key.type == Cfgtype::Text                 ? QLatin1String("v_") + key.key
                : key.type == Cfgtype::Int                  ? QString::number(builtin.toInt() + 1)
                                                            : QStringLiteral("0");
            const QStringList values = builtinValues({ { key.key, value } });
            QVERIFY(writeTextFile(m_path, configFileText(values, {}).toUtf8()));
            Cfgdialog dialog;
            QCOMPARE(dialog.loadcfg(), 0);
            QVERIFY2(dialog.widgetValues() == values, key.key);
        }
    }
};

QTEST_MAIN(Tst_cfgdialog)
#include "tst_cfgdialog.moc"
