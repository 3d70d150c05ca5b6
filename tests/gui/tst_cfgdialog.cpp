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

QByteArray anchorFile(const QList<Anchor>& anchors)
{
    return configFileText(builtinValues(), anchors).toUtf8();
}

Anchor makeAnchor(const char* name, const char* path, bool absolute, bool normalize)
{
    Anchor anchor;
    anchor.name = QLatin1String(name);
    anchor.path = QLatin1String(path);
    anchor.absolute = absolute;
    anchor.normalizeSpaces = normalize;
    return anchor;
}

// Fills the new-anchor dialog when it comes up and presses OK or Cancel.
std::function<void(QDialog*)> answerNewanchor(const QString& name, const QString& path, bool ok)
{
    return [=](QDialog* dialog) {
        auto* newanchor = qobject_cast<Newanchor*>(dialog);
        if (!newanchor)
            return;
        newanchor->le_elementname->setText(name);
        newanchor->le_anchorpath->setText(path);
        if (ok)
            newanchor->accept();
        else
            newanchor->reject();
    };
}

} // namespace

class Tst_cfgdialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void missingFileKeepsBuiltins();
    void missingKeys();
    void spinValues_data();
    void spinValues();
    void fileHandlingRule();
    void logdirAndContentRules();
    void attributeRules_data();
    void attributeRules();
    void anchorEditSurvivesSwitching();
    void saveStoresPanelWithoutSwitching();
    void addAnchor();
    void addAnchorIgnored_data();
    void addAnchorIgnored();
    void doubleEntry();
    void deleteLastAnchorClearsPanel();
    void deleteKeepsNeighbours();
    void saveReadsBackTheSameValues();
    void unwritableFileKeepsDialogOpen();
    void newanchorKeepsBlanks();

private:
    void writeConfig(const QByteArray& text) { QVERIFY(writeTextFile(m_path, text)); }

    QTemporaryDir m_dir;
    QString m_path;
    Recorder m_recorder;
};

void Tst_cfgdialog::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("zov_cfg.xml"));
    Cfgstore::instance().setPath(m_path);
    QVERIFY(Logger::instance().attachWindow(&m_recorder));
}

void Tst_cfgdialog::init()
{
    m_recorder.lines.clear();
    QFile::remove(m_path);
}

void Tst_cfgdialog::cleanupTestCase() { Logger::instance().detachWindow(&m_recorder); }

void Tst_cfgdialog::missingFileKeepsBuiltins()
{
    // No file yet: the built-in settings are shown, nothing is logged as an error.
    Cfgdialog dialog;
    dialog.cb_hashmode->setChecked(true);
    QCOMPARE(dialog.loadcfg(), 1);
    QCOMPARE(dialog.widgetValues(), builtinValues());
    QVERIFY(m_recorder.lines.isEmpty());
    // A file that exists but cannot be read touches no widget.
    QVERIFY(writeTextFile(m_path, "<broken"));
    dialog.cb_hashmode->setChecked(true);
    QCOMPARE(dialog.loadcfg(), -1095);
    QVERIFY(dialog.cb_hashmode->isChecked());
    QCOMPARE(m_recorder.lines.size(), 1);
    QVERIFY(m_recorder.lines[0].contains(
        QLatin1String("Error while trying to read configuration file: -1055")));
}

void Tst_cfgdialog::missingKeys()
{
    writeConfig("<zov_cfg><parameters><write_log>true</write_log>"
                "<exclude_from_contentmode>a, b</exclude_from_contentmode>"
                "</parameters></zov_cfg>");
    Cfgdialog dialog;
    QCOMPARE(dialog.loadcfg(), 0);
    QVERIFY(dialog.cb_writelog->isChecked());
    QVERIFY(!dialog.cb_writeresfile->isChecked());
    QVERIFY(!dialog.cb_normsp->isChecked());
    QVERIFY(!dialog.cb_cm_pc->isChecked());
    QCOMPARE(dialog.le_filenameadd->text(), QString());
    QCOMPARE(dialog.le_cm_cm->text(), QString());
    QCOMPARE(dialog.ln_excludedels->text(), QStringLiteral("a,b"));
    QCOMPARE(dialog.spin_numthreads->value(), 1);
    QCOMPARE(dialog.spin_minlcss->value(), 1);
    QCOMPARE(dialog.spin_indent->value(), 2);
    QVERIFY(dialog.rb_save_nowhite->isChecked());
    QVERIFY(!dialog.rb_save_humread->isChecked());
}

void Tst_cfgdialog::spinValues_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<int>("shown");
    const auto row
        = [](const char* name, const char* key, const char* value, const char* widget, int shown) {
              QTest::newRow(name) << QString(key) << QString(value) << QString(widget) << shown;
          };
    row("indent 0 ignored", "element_indent", "0", "spin_indent", 2);
    row("indent 64 ignored", "element_indent", "64", "spin_indent", 2);
    row("indent 63 taken", "element_indent", "63", "spin_indent", 63);
    row("min substring 0 clamps", "txt_minsubstr", "0", "spin_minlcss", 1);
    row("min substring 150 clamps", "txt_minsubstr", "150", "spin_minlcss", 99);
    row("threads clamp", "num_diffthreads", "40000", "spin_numthreads", 32768);
}

void Tst_cfgdialog::spinValues()
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

void Tst_cfgdialog::fileHandlingRule()
{
    writeConfig(configFileText(builtinValues({ { "writeresultfile", "false" } }), {}).toUtf8());
    Cfgdialog dialog;
    QCOMPARE(dialog.loadcfg(), 0);
    const QList<QWidget*> dependent
        = { dialog.rb_save_humread, dialog.rb_save_nowhite, dialog.lb_indent, dialog.spin_indent,
              dialog.lb_filenameadd, dialog.le_filenameadd, dialog.cb_adddelnodes, dialog.cb_cm_cm,
              dialog.cb_cm_pc, dialog.cb_cm_cc, dialog.cb_cm_ac, dialog.cb_cm_acc, dialog.cb_cm_pcc,
              dialog.cb_cm_pac, dialog.cb_cm_pcac, dialog.cb_cm_add, dialog.cb_cm_del };
    for (QWidget* widget : dependent)
        QVERIFY2(!widget->isEnabled(), qPrintable(widget->objectName()));
    QVERIFY(dialog.cb_hashmode->isEnabled());
    dialog.cb_writeresfile->setChecked(true);
    for (QWidget* widget : dependent)
        QVERIFY2(widget->isEnabled(), qPrintable(widget->objectName()));
}

void Tst_cfgdialog::logdirAndContentRules()
{
    writeConfig(configFileText(
        builtinValues({ { "write_log", "false" }, { "enable_contentmode", "true" } }), {})
                    .toUtf8());
    Cfgdialog dialog;
    QCOMPARE(dialog.loadcfg(), 0);
    QVERIFY(!dialog.ln_logdir->isEnabled());
    QVERIFY(!dialog.lb_logdir->isEnabled());
    QVERIFY(dialog.ln_excludedels->isEnabled());
    dialog.cb_contentmode->setChecked(false);
    QVERIFY(!dialog.ln_excludedels->isEnabled());
    QVERIFY(!dialog.lb_content->isEnabled());
    dialog.cb_writelog->setChecked(true);
    QVERIFY(dialog.ln_logdir->isEnabled());
    QVERIFY(dialog.lb_logdir->isEnabled());
}

void Tst_cfgdialog::attributeRules_data()
{
    QTest::addColumn<bool>("compare");
    QTest::addColumn<bool>("marksAfterUnchecking");
    QTest::newRow("compare contents off") << false << false;
    QTest::newRow("compare contents on") << true << true;
}

void Tst_cfgdialog::attributeRules()
{
    QFETCH(bool, compare);
    QFETCH(bool, marksAfterUnchecking);
    Cfgdialog dialog;
    dialog.cb_cmpattrs->setChecked(!compare);
    dialog.cb_cmpattrs->setChecked(compare);
    QCOMPARE(dialog.le_attr_add->isEnabled(), compare);

    dialog.cb_igattrs->setChecked(true);
    QVERIFY(!dialog.cb_igattrorder->isEnabled());
    QVERIFY(!dialog.cb_cmpattrs->isEnabled());
    const QList<QWidget*> marks
        = { dialog.le_attr_add, dialog.le_attr_del, dialog.le_attr_chg, dialog.le_attr_cm,
              dialog.lb_attradd, dialog.lb_attrdel, dialog.lb_attrvc, dialog.lb_attrcm };
    for (QWidget* mark : marks)
        QVERIFY2(!mark->isEnabled(), qPrintable(mark->objectName()));

    dialog.cb_igattrs->setChecked(false);
    QVERIFY(dialog.cb_igattrorder->isEnabled());
    QVERIFY(dialog.cb_cmpattrs->isEnabled());
    QCOMPARE(dialog.le_attr_cm->isEnabled(), marksAfterUnchecking);
    QCOMPARE(dialog.lb_attrcm->isEnabled(), marksAfterUnchecking);
}

void Tst_cfgdialog::anchorEditSurvivesSwitching()
{
    writeConfig(
        anchorFile({ makeAnchor("a", "x/a", false, false), makeAnchor("b", "x/b", true, true) }));
    Cfgdialog dialog;
    QCOMPARE(dialog.loadcfg(), 0);
    QCOMPARE(dialog.elementlist->count(), 2);
    QCOMPARE(dialog.elementlist->currentRow(), 0);
    const QString first = dialog.elementlist->item(0)->text();
    const QString second = dialog.elementlist->item(1)->text();
    QCOMPARE(dialog.lne_apath->text(), Cfgstore::instance().anchor(first)->path);

    dialog.lne_apath->setText(QStringLiteral("edited/path"));
    dialog.cb_absolute->setChecked(true);
    dialog.cb_anchnormsp->setChecked(false);
    dialog.elementlist->setCurrentRow(1);
    QCOMPARE(dialog.lne_apath->text(), QStringLiteral("x/") + second);
    QCOMPARE(dialog.cb_absolute->isChecked(), second == QLatin1String("b"));

    dialog.elementlist->setCurrentRow(0);
    QCOMPARE(dialog.lne_apath->text(), QStringLiteral("edited/path"));
    QVERIFY(dialog.cb_absolute->isChecked());
    QVERIFY(!dialog.cb_anchnormsp->isChecked());
    QVERIFY(m_recorder.lines.isEmpty());
}

void Tst_cfgdialog::saveStoresPanelWithoutSwitching()
{
    writeConfig(anchorFile({ makeAnchor("a", "x/a", false, false) }));
    Cfgdialog dialog;
    dialog.show();
    QCOMPARE(dialog.loadcfg(), 0);
    dialog.lne_apath->setText(QStringLiteral("@id"));
    dialog.cb_anchnormsp->setChecked(true);
    dialog.pb_save->click();
    QVERIFY(!dialog.isVisible());

    Cfgstore& store = Cfgstore::instance();
    store.clear();
    QCOMPARE(store.readcfg(), 0);
    const Anchor* anchor = store.anchor(QStringLiteral("a"));
    QVERIFY(anchor);
    QCOMPARE(anchor->path, QStringLiteral("@id"));
    QVERIFY(!anchor->absolute);
    QVERIFY(anchor->normalizeSpaces);
}

void Tst_cfgdialog::addAnchor()
{
    writeConfig(anchorFile({ makeAnchor("a", "x/a", true, true) }));
    Cfgdialog dialog;
    QCOMPARE(dialog.loadcfg(), 0);
    dialog.lne_apath->setText(QStringLiteral("changed"));
    Boxcatcher catcher;
    catcher.onDialog = answerNewanchor(QStringLiteral("item"), QStringLiteral("code"), true);
    dialog.pb_addelement->click();

    QVERIFY(catcher.boxes.isEmpty());
    QCOMPARE(dialog.elementlist->count(), 2);
    QCOMPARE(dialog.elementlist->currentItem()->text(), QStringLiteral("item"));
    QCOMPARE(dialog.lne_apath->text(), QStringLiteral("code"));
    QVERIFY(!dialog.cb_absolute->isChecked());
    QVERIFY(!dialog.cb_anchnormsp->isChecked());
    const Cfgstore& store = Cfgstore::instance();
    QCOMPARE(store.anchor(QStringLiteral("item"))->path, QStringLiteral("code"));
    QCOMPARE(store.anchor(QStringLiteral("a"))->path, QStringLiteral("changed"));
    QVERIFY(store.anchor(QStringLiteral("a"))->absolute);
}

void Tst_cfgdialog::addAnchorIgnored_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("ok");
    QTest::newRow("cancelled") << "item" << false;
    QTest::newRow("empty name") << "" << true;
}

void Tst_cfgdialog::addAnchorIgnored()
{
    QFETCH(QString, name);
    QFETCH(bool, ok);
    writeConfig(anchorFile({ makeAnchor("a", "x/a", false, false) }));
    Cfgdialog dialog;
    QCOMPARE(dialog.loadcfg(), 0);
    Boxcatcher catcher;
    catcher.onDialog = answerNewanchor(name, QStringLiteral("p"), ok);
    dialog.add_anchor();
    QCOMPARE(dialog.elementlist->count(), 1);
    QCOMPARE(Cfgstore::instance().anchors().size(), 1);
    QVERIFY(catcher.boxes.isEmpty());
}

void Tst_cfgdialog::doubleEntry()
{
    writeConfig(
        anchorFile({ makeAnchor("a", "x/a", false, false), makeAnchor("b", "x/b", false, false) }));
    Cfgdialog dialog;
    QCOMPARE(dialog.loadcfg(), 0);
    const QString current = dialog.elementlist->currentItem()->text();
    dialog.lne_apath->setText(QStringLiteral("kept edit"));
    Boxcatcher catcher;
    catcher.onDialog = answerNewanchor(QStringLiteral("b"), QStringLiteral("other"), true);
    dialog.add_anchor();

    QCOMPARE(catcher.texts(), QStringList({ QStringLiteral("Element names must be unique!") }));
    QCOMPARE(catcher.boxes[0].icon, QMessageBox::Critical);
    QCOMPARE(dialog.elementlist->count(), 2);
    QCOMPARE(Cfgstore::instance().anchor(current)->path, QStringLiteral("kept edit"));
    if (current != QLatin1String("b"))
        QCOMPARE(Cfgstore::instance().anchor(QStringLiteral("b"))->path, QStringLiteral("x/b"));
}

void Tst_cfgdialog::deleteLastAnchorClearsPanel()
{
    writeConfig(anchorFile({ makeAnchor("a", "x/a", true, true) }));
    Cfgdialog dialog;
    QCOMPARE(dialog.loadcfg(), 0);
    QVERIFY(dialog.cb_absolute->isChecked());
    dialog.pb_delelement->click();
    QCOMPARE(dialog.elementlist->count(), 0);
    QVERIFY(dialog.lne_apath->text().isEmpty());
    QVERIFY(!dialog.cb_absolute->isChecked());
    QVERIFY(!dialog.cb_anchnormsp->isChecked());
    QVERIFY(Cfgstore::instance().anchors().isEmpty());
    // Deleting from an empty list does nothing.
    dialog.del_anchor();
    QVERIFY(m_recorder.lines.isEmpty());
}

void Tst_cfgdialog::deleteKeepsNeighbours()
{
    writeConfig(anchorFile({ makeAnchor("a", "x/a", false, false),
        makeAnchor("b", "x/b", true, false), makeAnchor("c", "x/c", false, true) }));
    for (int row = 0; row < 3; ++row) {
        Cfgdialog dialog;
        QCOMPARE(dialog.loadcfg(), 0);
        dialog.elementlist->setCurrentRow(row);
        const QString deleted = dialog.elementlist->currentItem()->text();
        dialog.lne_apath->setText(QStringLiteral("edit of the deleted one"));
        dialog.del_anchor();

        const Cfgstore& store = Cfgstore::instance();
        QCOMPARE(store.anchors().size(), 2);
        QVERIFY(!store.anchor(deleted));
        for (const Anchor& anchor : store.anchors())
            QCOMPARE(anchor.path, QStringLiteral("x/") + anchor.name);
        QCOMPARE(dialog.elementlist->currentRow(), 0);
        QCOMPARE(
            dialog.lne_apath->text(), QStringLiteral("x/") + dialog.elementlist->item(0)->text());
    }
}

void Tst_cfgdialog::saveReadsBackTheSameValues()
{
    QStringList values = builtinValues();
    values[cfgKeyIndex(QStringLiteral("addname_result"))] = QStringLiteral("_a&b<c\"d");
    values[cfgKeyIndex(QStringLiteral("savemode"))] = QStringLiteral("0");
    values[cfgKeyIndex(QStringLiteral("element_indent"))] = QStringLiteral("5");
    values[cfgKeyIndex(QStringLiteral("use_hashmode"))] = QStringLiteral("true");
    values[cfgKeyIndex(QStringLiteral("usecm_del"))] = QStringLiteral("true");
    values[cfgKeyIndex(QStringLiteral("element_deleted"))] = QStringLiteral("gone");
    values[cfgKeyIndex(QStringLiteral("exclude_from_contentmode"))] = QStringLiteral("p,q");
    writeConfig(configFileText(values, { makeAnchor("n&<\"", "a/@b", true, false) }).toUtf8());

    Cfgdialog dialog;
    QCOMPARE(dialog.loadcfg(), 0);
    QCOMPARE(dialog.widgetValues(), values);
    dialog.savecfg();

    Cfgstore& store = Cfgstore::instance();
    store.clear();
    QCOMPARE(store.readcfg(), 0);
    for (const Cfgkey& key : cfgKeys())
        QCOMPARE(store.getString(QLatin1String(key.key)), values[cfgKeyIndex(key.key)]);
    QCOMPARE(store.anchors().size(), 1);
    const Anchor* anchor = store.anchor(QStringLiteral("n&<\""));
    QVERIFY(anchor);
    QCOMPARE(anchor->path, QStringLiteral("a/@b"));
    QVERIFY(anchor->absolute);
    QVERIFY(!anchor->normalizeSpaces);
}

void Tst_cfgdialog::unwritableFileKeepsDialogOpen()
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

void Tst_cfgdialog::newanchorKeepsBlanks()
{
    Newanchor dialog;
    dialog.le_elementname->setText(QStringLiteral(" name "));
    dialog.le_anchorpath->setText(QStringLiteral(" a/b "));
    QTimer::singleShot(
        0, &dialog, [&dialog] { dialog.buttonBox->button(QDialogButtonBox::Ok)->click(); });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(dialog.elementName(), QStringLiteral(" name "));
    QCOMPARE(dialog.anchorPath(), QStringLiteral(" a/b "));
}

QTEST_MAIN(Tst_cfgdialog)
#include "tst_cfgdialog.moc"
