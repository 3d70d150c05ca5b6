#include "../testfiles.h"
#include "boxcatcher.h"

#include "config/cfgkeys.h"
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

Anchor makeAnchor(const char* name, const char* path, bool absolute, bool normalize)
{
    return Anchor { QLatin1String(name), QLatin1String(path), absolute, normalize };
}

// Fills the new-anchor dialog when it comes up and presses OK or Cancel.
std::function<void(QDialog*)> answerNewanchor(const QString& name, const QString& path, bool ok)
{
    return [=](QDialog* dialog) {
        if (auto* newanchor = qobject_cast<Newanchor*>(dialog)) {
            newanchor->le_elementname->setText(name);
            newanchor->le_anchorpath->setText(path);
            ok ? newanchor->accept() : newanchor->reject();
        }
    };
}

} // namespace

class Tst_cfgdialog : public QObject {
    Q_OBJECT

private:
    void writeConfig(const QByteArray& text) { QVERIFY(writeTextFile(m_path, text)); }
    void writeAnchors()
    {
        writeConfig(configFileText(builtinValues(),
            { makeAnchor("a", "x/a", false, false), makeAnchor("b", "x/b", true, false),
                makeAnchor("c", "x/c", false, true) })
                        .toUtf8());
    }

    QTemporaryDir m_dir;
    QString m_path;
    Recorder m_recorder;

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_path = m_dir.filePath(QStringLiteral("zov_cfg.xml"));
        Cfgstore::instance().setPath(m_path);
        QVERIFY(Logger::instance().attachWindow(&m_recorder));
    }

    void init()
    {
        m_recorder.lines.clear();
        QFile::remove(m_path);
    }

    void cleanupTestCase() { Logger::instance().detachWindow(&m_recorder); }

    void load_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("code");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QString>("logged");
        QStringList sparse = builtinValues();
        for (const Cfgkey& key : cfgKeys()) {
            QString& value = sparse[cfgKeyIndex(QLatin1String(key.key))];
            value = key.type == Cfgtype::Bool ? QStringLiteral("false")
                : key.type == Cfgtype::Text   ? QString()
                                              : value;
        }
        sparse[cfgKeyIndex(QStringLiteral("write_log"))] = QStringLiteral("true");
        sparse[cfgKeyIndex(QStringLiteral("savemode"))] = QStringLiteral("0");
        sparse[cfgKeyIndex(QStringLiteral("exclude_from_contentmode"))] = QStringLiteral("a,b");
        for (const char* key : { "num_diffthreads", "txt_minsubstr" })
            sparse[cfgKeyIndex(QLatin1String(key))] = QStringLiteral("1");
        QStringList untouched = builtinValues({ { "use_hashmode", "true" } });
        QTest::newRow("no file: built-in values") << QByteArray() << 1 << builtinValues() << "";
        QTest::newRow("unreadable: widgets untouched")
            << QByteArray("<zov_cfg>") << -1095 << untouched
            << "Error while trying to read configuration file: -1055";
        QTest::newRow("absent keys: empty values")
            << QByteArray("<zov_cfg><parameters><write_log>true</write_log>"
                          "<exclude_from_contentmode>a, b</exclude_from_contentmode>"
                          "</parameters></zov_cfg>")
            << 0 << sparse << "";
    }

    void load()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, code);
        QFETCH(QStringList, shown);
        QFETCH(QString, logged);
        if (!file.isEmpty())
            writeConfig(file);
        Cfgdialog dialog;
        dialog.cb_hashmode->setChecked(true);
        QCOMPARE(dialog.loadcfg(), code);
        QCOMPARE(dialog.widgetValues(), shown);
        QCOMPARE(m_recorder.lines.size(), logged.isEmpty() ? 0 : 1);
        QVERIFY(logged.isEmpty() || m_recorder.lines[0].contains(logged));
    }

    void spinValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("widget");
        QTest::addColumn<int>("shown");
        const auto row = [](const char* name, const char* key, const char* value,
                             const char* widget, int shown) {
            QTest::newRow(name) << QString(key) << QString(value) << QString(widget) << shown;
        };
        row("indent 0 ignored", "element_indent", "0", "spin_indent", 2);
        row("indent 64 ignored", "element_indent", "64", "spin_indent", 2);
        row("indent 63 taken", "element_indent", "63", "spin_indent", 63);
        row("min substring 0 clamps", "txt_minsubstr", "0", "spin_minlcss", 1);
        row("min substring 150 clamps", "txt_minsubstr", "150", "spin_minlcss", 99);
        row("threads clamp", "num_diffthreads", "40000", "spin_numthreads", 32768);
    }

    void spinValues()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QString, widget);
        QFETCH(int, shown);
        writeConfig(configFileText(builtinValues({ { key, value } }), {}).toUtf8());
        Cfgdialog dialog;
        QCOMPARE(dialog.loadcfg(), 0);
        QCOMPARE(dialog.findChild<QSpinBox*>(widget)->value(), shown);
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
        QTest::newRow("no result file")
            << QStringList { "-cb_writeresfile" } << fileHandling << false;
        QTest::newRow("result file")
            << QStringList { "-cb_writeresfile", "cb_writeresfile" } << fileHandling << true;
        QTest::newRow("no log") << QStringList { "-cb_writelog" }
                                << QStringList { "ln_logdir", "lb_logdir" } << false;
        QTest::newRow("no content mode") << QStringList { "-cb_contentmode" }
                                         << QStringList { "ln_excludedels", "lb_content" } << false;
        QTest::newRow("attributes ignored")
            << QStringList { "cb_cmpattrs", "cb_igattrs" }
            << marks + QStringList { "cb_igattrorder", "cb_cmpattrs" } << false;
        QTest::newRow("attributes back, contents compared")
            << QStringList { "cb_cmpattrs", "cb_igattrs", "-cb_igattrs" }
            << marks + QStringList { "cb_igattrorder" } << true;
        QTest::newRow("attributes back, contents not compared")
            << QStringList { "-cb_cmpattrs", "cb_igattrs", "-cb_igattrs" }
            << QStringList { "le_attr_add", "le_attr_cm", "lb_attrcm" } << false;
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
        writeAnchors();
        Cfgdialog dialog;
        QCOMPARE(dialog.loadcfg(), 0);
        QCOMPARE(dialog.elementlist->count(), 3);
        const Cfgstore& store = Cfgstore::instance();
        const QString first = dialog.elementlist->item(0)->text();
        QCOMPARE(dialog.lne_apath->text(), store.anchor(first)->path);

        // An edit of the panel survives switching away and back.
        dialog.lne_apath->setText(QStringLiteral("edited/path"));
        dialog.cb_absolute->setChecked(true);
        dialog.elementlist->setCurrentRow(1);
        const QString second = dialog.elementlist->item(1)->text();
        QCOMPARE(dialog.lne_apath->text(), QStringLiteral("x/") + second);
        dialog.elementlist->setCurrentRow(0);
        QCOMPARE(dialog.lne_apath->text(), QStringLiteral("edited/path"));
        QVERIFY(dialog.cb_absolute->isChecked());

        // A new anchor takes the panel with empty flags and keeps the edit of the one before.
        Boxcatcher catcher;
        catcher.onDialog = answerNewanchor(QStringLiteral("item"), QStringLiteral("code"), true);
        dialog.pb_addelement->click();
        QCOMPARE(dialog.elementlist->currentItem()->text(), QStringLiteral("item"));
        QVERIFY(!dialog.cb_absolute->isChecked());
        QCOMPARE(store.anchor(QStringLiteral("item"))->path, QStringLiteral("code"));
        QCOMPARE(store.anchor(first)->path, QStringLiteral("edited/path"));

        // Deleting drops exactly the current one and shows the first of the rest.
        dialog.elementlist->setCurrentRow(1);
        const QString deleted = dialog.elementlist->currentItem()->text();
        dialog.lne_apath->setText(QStringLiteral("edit of the deleted one"));
        dialog.del_anchor();
        QCOMPARE(store.anchors().size(), 3);
        QVERIFY(!store.anchor(deleted));
        QCOMPARE(dialog.elementlist->currentRow(), 0);
        while (dialog.elementlist->count() > 0)
            dialog.pb_delelement->click();
        QVERIFY(dialog.lne_apath->text().isEmpty() && !dialog.cb_absolute->isChecked());
        QVERIFY(store.anchors().isEmpty());
        dialog.del_anchor();
        QVERIFY(catcher.boxes.isEmpty() && m_recorder.lines.isEmpty());
    }

    void addAnchorRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("cancelled") << "item" << false << QStringList();
        QTest::newRow("empty name") << "" << true << QStringList();
        QTest::newRow("name taken")
            << "b" << true << QStringList { QStringLiteral("Element names must be unique!") };
    }

    void addAnchorRefused()
    {
        QFETCH(QString, name);
        QFETCH(bool, ok);
        QFETCH(QStringList, boxes);
        writeAnchors();
        Cfgdialog dialog;
        QCOMPARE(dialog.loadcfg(), 0);
        Boxcatcher catcher;
        catcher.onDialog = answerNewanchor(name, QStringLiteral("other"), ok);
        dialog.add_anchor();
        QCOMPARE(catcher.texts(), boxes);
        QCOMPARE(dialog.elementlist->count(), 3);
        for (const Anchor& anchor : Cfgstore::instance().anchors())
            QCOMPARE(anchor.path, QStringLiteral("x/") + anchor.name);
    }

    void saveReadsBackTheSameValues()
    {
        QStringList values = builtinValues({ { "addname_result", "_a&b<c\"d" }, { "savemode", "0" },
            { "element_indent", "5" }, { "use_hashmode", "true" }, { "element_deleted", "gone" },
            { "exclude_from_contentmode", "p,q" } });
        writeConfig(configFileText(values, { makeAnchor("n&<\"", "a/@b", true, false) }).toUtf8());
        Cfgdialog dialog;
        dialog.show();
        QCOMPARE(dialog.loadcfg(), 0);
        QCOMPARE(dialog.widgetValues(), values);
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
        const QString badPath = m_dir.filePath(QStringLiteral("missing/dir/zov_cfg.xml"));
        Cfgstore::instance().setPath(badPath);
        dialog.savecfg();
        Cfgstore::instance().setPath(m_path);
        QVERIFY(dialog.isVisible());
        QVERIFY(!QFile::exists(badPath));
        QCOMPARE(m_recorder.lines.size(), 1);
        QVERIFY(m_recorder.lines[0].contains(
            QLatin1String("Error while trying to open configuration file ") + badPath));
    }
};

QTEST_MAIN(Tst_cfgdialog)
#include "tst_cfgdialog.moc"
