#include "../testfiles.h"
#include "boxcatcher.h"

#include "config/cfgstore.h"
#include "gui/cfgdialog.h"
#include "gui/newanchor.h"
#include "run/logger.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

class Recorder : public Logsink {
public:
    void appendLine(const QString& line) override { lines << line; }
    QStringList lines;
};

// Fills the new-anchor dialog when it comes up and presses OK or Cancel.
std::function<void(QDialog*)> answerNewanchor(const QString& name, bool ok)
{
    return [=](QDialog* dialog) {
        if (auto* newanchor = qobject_cast<Newanchor*>(dialog)) {
            newanchor->le_elementname->setText(name);
            newanchor->le_anchorpath->setText(QStringLiteral("new/path"));
            ok ? newanchor->accept() : newanchor->reject();
        }
    };
}

} // namespace

class Tst_cfgdialog : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QString m_path = m_dir.filePath(QStringLiteral("zov_cfg.xml"));
    Recorder m_log;

    // Writes a configuration with these values and the anchors a, b, c (paths x/a, x/b, x/c).
    void writeConfig(const QStringList& values = builtinValues())
    {
        QList<Anchor> anchors;
        for (const char* name : { "a", "b", "c" })
            anchors << Anchor { name, QLatin1String("x/") + name, false, false };
        QVERIFY(writeTextFile(m_path, configFileText(values, anchors).toUtf8()));
    }

private Q_SLOTS:
    void initTestCase()
    {
        Cfgstore::instance().setPath(m_path);
        QVERIFY(Logger::instance().attachWindow(&m_log));
    }

    void init()
    {
        m_log.lines.clear();
        QFile::remove(m_path);
    }

    void cleanupTestCase() { Logger::instance().detachWindow(&m_log); }

    void load_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("logged");
        // Absent keys: boxes unchecked, fields empty, spin boxes at their least, the indent kept.
        QStringList sparse;
        for (const Cfgkey& key : cfgKeys())
            sparse << (key.type == Cfgtype::Bool ? "false" : key.type == Cfgtype::Text ? "" : "1");
        sparse[cfgKeyIndex(QStringLiteral("write_log"))] = QStringLiteral("true");
        sparse[cfgKeyIndex(QStringLiteral("savemode"))] = QStringLiteral("0");
        sparse[cfgKeyIndex(QStringLiteral("element_indent"))] = QStringLiteral("2");
        sparse[cfgKeyIndex(QStringLiteral("exclude_from_contentmode"))] = QStringLiteral("a,b");
        QTest::newRow("no file: built-in values") << QByteArray() << 1 << builtinValues() << "";
        QTest::newRow("unreadable: widgets untouched")
            << QByteArray("<zov_cfg>") << -1095 << builtinValues({ { "use_hashmode", "true" } })
            << "Error while trying to read configuration file: -1055";
        QTest::newRow("absent keys")
            << QByteArray("<zov_cfg><parameters><write_log>true</write_log><exclude_from_"
                          "contentmode>a, b</exclude_from_contentmode></parameters></zov_cfg>")
            << 0 << sparse << "";
    }

    void load()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, code);
        QFETCH(QStringList, shown);
        QFETCH(QString, logged);
        if (!file.isEmpty())
            QVERIFY(writeTextFile(m_path, file));
        Cfgdialog dialog;
        dialog.cb_hashmode->setChecked(true);
        QCOMPARE(dialog.loadcfg(), code);
        QCOMPARE(dialog.widgetValues(), shown);
        QCOMPARE(m_log.lines.size(), logged.isEmpty() ? 0 : 1);
        QVERIFY(logged.isEmpty() || m_log.lines[0].contains(logged));
    }

    // Every key shows in its own widget and is read back from it.
    void everyKeyBound()
    {
        for (const Cfgkey& key : cfgKeys()) {
            const QString builtin = QLatin1String(key.builtin);
            const QString changed = key.type == Cfgtype::Bool
                ? (builtin == "true" ? "false" : "true")
                : key.type == Cfgtype::Text ? QLatin1String("v_") + key.key
                : key.type == Cfgtype::Int  ? QString::number(builtin.toInt() + 1)
                                            : QStringLiteral("0");
            const QStringList values = builtinValues({ { key.key, changed } });
            writeConfig(values);
            Cfgdialog dialog;
            QCOMPARE(dialog.loadcfg(), 0);
            QVERIFY2(dialog.widgetValues() == values, key.key);
        }
    }

    void spinValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("shown");
        const auto row = [](const char* name, const char* key, const char* value, int shown) {
            QTest::newRow(name) << QString(key) << QString(value) << shown;
        };
        row("indent 0 ignored", "element_indent", "0", 2);
        row("indent 64 ignored", "element_indent", "64", 2);
        row("indent 63 taken", "element_indent", "63", 63);
        row("min substring 0 clamps", "txt_minsubstr", "0", 1);
        row("min substring 150 clamps", "txt_minsubstr", "150", 99);
        row("threads clamp", "num_diffthreads", "40000", 32768);
    }

    void spinValues()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(int, shown);
        writeConfig(builtinValues({ { key, value } }));
        Cfgdialog dialog;
        QCOMPARE(dialog.loadcfg(), 0);
        // What is shown is what a save writes back.
        QCOMPARE(dialog.widgetValues().at(cfgKeyIndex(key)), QString::number(shown));
    }

    void enablingRules_data()
    {
        QTest::addColumn<QStringList>("checks");
        QTest::addColumn<QStringList>("widgets");
        QTest::addColumn<bool>("enabled");
        const QStringList fileHandling { "rb_save_humread", "spin_indent", "le_filenameadd",
            "cb_adddelnodes", "cb_cm_cm", "cb_cm_pcac", "cb_cm_del" };
        const QStringList marks { "le_attr_add", "le_attr_del", "le_attr_chg", "lb_attrcm" };
        const auto row = [](const char* name, const QStringList& checks, const QStringList& widgets,
                             bool enabled) { QTest::newRow(name) << checks << widgets << enabled; };
        row("no result file", { "-cb_writeresfile" }, fileHandling, false);
        row("result file", { "-cb_writeresfile", "cb_writeresfile" }, fileHandling, true);
        row("no log", { "-cb_writelog" }, { "ln_logdir", "lb_logdir" }, false);
        row("no content mode", { "-cb_contentmode" }, { "ln_excludedels", "lb_content" }, false);
        row("attributes ignored", { "cb_cmpattrs", "cb_igattrs" },
            marks + QStringList { "cb_igattrorder", "cb_cmpattrs" }, false);
        row("attributes back, contents compared", { "cb_cmpattrs", "cb_igattrs", "-cb_igattrs" },
            marks + QStringList { "cb_igattrorder" }, true);
        row("attributes back, contents not compared",
            { "-cb_cmpattrs", "cb_igattrs", "-cb_igattrs" },
            { "le_attr_add", "le_attr_cm", "lb_attrcm" }, false);
    }

    void enablingRules()
    {
        QFETCH(QStringList, checks);
        QFETCH(QStringList, widgets);
        QFETCH(bool, enabled);
        Cfgdialog dialog;
        // Each name is checked in turn ("-" unchecks), each toggling from the other state first.
        for (const QString& check : checks) {
            const bool on = !check.startsWith(QLatin1Char('-'));
            auto* box = dialog.findChild<QCheckBox*>(on ? check : check.mid(1));
            QVERIFY2(box, qPrintable(check));
            box->setChecked(!on);
            box->setChecked(on);
        }
        for (const QString& name : widgets) {
            QWidget* widget = dialog.findChild<QWidget*>(name);
            QVERIFY2(widget && widget->isEnabled() == enabled, qPrintable(name));
        }
    }

    void anchorEdits()
    {
        writeConfig();
        Cfgdialog dialog;
        QCOMPARE(dialog.loadcfg(), 0);
        const Cfgstore& store = Cfgstore::instance();
        QCOMPARE(dialog.lne_apath->text(), QStringLiteral("x/a"));
        // An edit of the panel survives switching away and back.
        dialog.lne_apath->setText(QStringLiteral("edited"));
        dialog.cb_absolute->setChecked(true);
        dialog.elementlist->setCurrentRow(1);
        QCOMPARE(dialog.lne_apath->text(), QStringLiteral("x/b"));
        QVERIFY(!dialog.cb_absolute->isChecked());
        dialog.elementlist->setCurrentRow(0);
        QCOMPARE(dialog.lne_apath->text(), QStringLiteral("edited"));
        QVERIFY(dialog.cb_absolute->isChecked());
        // A new anchor takes the panel with empty flags; the edit before it is kept.
        Boxcatcher catcher;
        catcher.onDialog = answerNewanchor(QStringLiteral("item"), true);
        dialog.pb_addelement->click();
        QCOMPARE(dialog.elementlist->currentItem()->text(), QStringLiteral("item"));
        QVERIFY(!dialog.cb_absolute->isChecked());
        QCOMPARE(store.anchor(QStringLiteral("item"))->path, QStringLiteral("new/path"));
        QCOMPARE(store.anchor(QStringLiteral("a"))->path, QStringLiteral("edited"));
        // Deleting drops exactly the current one and shows the first of the rest.
        dialog.elementlist->setCurrentRow(1);
        dialog.del_anchor();
        QVERIFY(!store.anchor(QStringLiteral("b")) && store.anchors().size() == 3);
        QCOMPARE(dialog.elementlist->currentRow(), 0);
        while (dialog.elementlist->count() > 0)
            dialog.pb_delelement->click();
        QVERIFY(dialog.lne_apath->text().isEmpty() && !dialog.cb_absolute->isChecked());
        QVERIFY(store.anchors().isEmpty());
        dialog.del_anchor();
        QVERIFY(catcher.boxes.isEmpty() && m_log.lines.isEmpty());
    }

    void addAnchorRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("cancelled") << "item" << false << QStringList();
        QTest::newRow("empty name") << "" << true << QStringList();
        QTest::newRow("name taken")
            << "b" << true << QStringList { "Element names must be unique!" };
    }

    void addAnchorRefused()
    {
        QFETCH(QString, name);
        QFETCH(bool, ok);
        QFETCH(QStringList, boxes);
        writeConfig();
        Cfgdialog dialog;
        QCOMPARE(dialog.loadcfg(), 0);
        Boxcatcher catcher;
        catcher.onDialog = answerNewanchor(name, ok);
        dialog.add_anchor();
        QCOMPARE(catcher.texts(), boxes);
        QCOMPARE(Cfgstore::instance().anchors().size(), 3);
        QCOMPARE(dialog.elementlist->count(), 3);
    }

    void saveReadsBackTheSameValues()
    {
        const QStringList values = builtinValues(
            { { "addname_result", "_a&b<c\"d" }, { "savemode", "0" }, { "use_hashmode", "true" } });
        QVERIFY(writeTextFile(
            m_path, configFileText(values, { Anchor { "n&<\"", "a/@b", true, false } }).toUtf8()));
        Cfgdialog dialog;
        dialog.show();
        QCOMPARE(dialog.loadcfg(), 0);
        // The panel's edit is saved without switching to another anchor first.
        dialog.cb_anchnormsp->setChecked(true);
        dialog.pb_save->click();
        QVERIFY(!dialog.isVisible());
        Cfgstore& store = Cfgstore::instance();
        store.clear();
        QCOMPARE(store.readcfg(), 0);
        for (const Cfgkey& key : cfgKeys())
            QCOMPARE(store.getString(QLatin1String(key.key)), values[cfgKeyIndex(key.key)]);
        const Anchor* anchor = store.anchor(QStringLiteral("n&<\""));
        QVERIFY(anchor && store.anchors().size() == 1);
        QCOMPARE(anchor->path, QStringLiteral("a/@b"));
        QVERIFY(anchor->absolute && anchor->normalizeSpaces);
    }

    void unwritableFileKeepsDialogOpen()
    {
        Cfgdialog dialog;
        dialog.show();
        const QString badPath = m_dir.filePath(QStringLiteral("missing/zov_cfg.xml"));
        Cfgstore::instance().setPath(badPath);
        dialog.savecfg();
        Cfgstore::instance().setPath(m_path);
        QVERIFY(dialog.isVisible() && !QFile::exists(badPath));
        QCOMPARE(m_log.lines.size(), 1);
        QVERIFY(
            m_log.lines[0].contains("Error while trying to open configuration file " + badPath));
    }
};

QTEST_MAIN(Tst_cfgdialog)
#include "tst_cfgdialog.moc"
