#include "gui/cfgdialog.h"

#include "config/cfgkeys.h"
#include "config/cfgstore.h"
#include "config/cfgwriter.h"
#include "gui/newanchor.h"
#include "gui/zovresources.h"
#include "run/logger.h"

#include <QMessageBox>

namespace {

const QString& notPresentText()
{
    static const QString text = QStringLiteral(
        "Element not present in configuration. This may lead to a corrupt configuration!");
    return text;
}

void logError(const QString& message)
{
    Logger::instance().write(message, Logger::Error, Logger::FileAndWindow);
}

} // namespace

Cfgdialog::Cfgdialog(QWidget* parent)
    : QDialog(parent)
{
    zovInitResources();
    setupUi(this);
    setModal(true);

    connect(cb_writeresfile, &QCheckBox::toggled, this, &Cfgdialog::toggle_filehandling);
    connect(cb_writelog, &QCheckBox::toggled, this, &Cfgdialog::toggle_logdir);
    connect(cb_contentmode, &QCheckBox::toggled, this, &Cfgdialog::toggle_content);
    connect(cb_igattrs, &QCheckBox::stateChanged, this, &Cfgdialog::toggle_igattrs);
    connect(cb_cmpattrs, &QCheckBox::stateChanged, this, &Cfgdialog::toggle_cmpattrs);
    connect(elementlist, &QListWidget::currentItemChanged, this, &Cfgdialog::listitemchanged);
    connect(pb_addelement, &QPushButton::clicked, this, &Cfgdialog::add_anchor);
    connect(pb_delelement, &QPushButton::clicked, this, &Cfgdialog::del_anchor);
    connect(pb_save, &QPushButton::clicked, this, &Cfgdialog::savecfg);
    connect(pb_cancel, &QPushButton::clicked, this, &QDialog::close);
}

Cfgdialog::~Cfgdialog() = default;

int Cfgdialog::loadcfg()
{
    Cfgstore& store = Cfgstore::instance();
    store.clear();
    const int code = store.readcfg();
    const bool firstStart = code == -1015;
    if (firstStart) {
        // No file yet: the built-in settings are what a run uses, and Save writes them.
        store.useBuiltins();
    } else if (code != 0) {
        logError(QStringLiteral("Error while trying to read configuration file: %1\n").arg(code));
        return -1095;
    }

    for (const Cfgkey& key : cfgKeys()) {
        const QString name = QLatin1String(key.key);
        QWidget* widget = findChild<QWidget*>(QLatin1String(key.widget));
        switch (key.type) {
        case Cfgtype::Bool:
            if (auto* box = qobject_cast<QCheckBox*>(widget))
                box->setChecked(store.getBool(name));
            break;
        case Cfgtype::Savemode:
            if (store.getBool(name))
                rb_save_humread->setChecked(true);
            else
                rb_save_nowhite->setChecked(true);
            break;
        case Cfgtype::Int:
            if (auto* spin = qobject_cast<QSpinBox*>(widget)) {
                const int value = store.getInt(name);
                // An indent outside 1..63 is ignored; the other spin boxes clamp.
                if (spin != spin_indent || (value >= 1 && value <= 63))
                    spin->setValue(value);
            }
            break;
        case Cfgtype::Text:
            if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
                edit->setText(edit == ln_excludedels ? store.excluded().join(QLatin1Char(','))
                                                     : store.getString(name));
            }
            break;
        }
    }

    elementlist->clear();
    for (const Anchor& anchor : store.anchors())
        elementlist->addItem(anchor.name);
    if (elementlist->count() > 0) {
        elementlist->setCurrentRow(0);
        show_anchor(elementlist->item(0)->text());
    }
    return firstStart ? 1 : 0;
}

QStringList Cfgdialog::widgetValues() const
{
    QStringList values;
    for (const Cfgkey& key : cfgKeys()) {
        QWidget* widget = findChild<QWidget*>(QLatin1String(key.widget));
        switch (key.type) {
        case Cfgtype::Bool: {
            const auto* box = qobject_cast<QCheckBox*>(widget);
            values << QLatin1String(box && box->isChecked() ? "true" : "false");
            break;
        }
        case Cfgtype::Savemode:
            values << QLatin1String(rb_save_humread->isChecked() ? "1" : "0");
            break;
        case Cfgtype::Int: {
            const auto* spin = qobject_cast<QSpinBox*>(widget);
            values << QString::number(spin ? spin->value() : 0);
            break;
        }
        case Cfgtype::Text: {
            const auto* edit = qobject_cast<QLineEdit*>(widget);
            values << (edit ? edit->text() : QString());
            break;
        }
        }
    }
    return values;
}

void Cfgdialog::savecfg()
{
    Cfgstore& store = Cfgstore::instance();
    if (QListWidgetItem* current = elementlist->currentItem())
        storePanel(current->text());
    if (writeConfigFile(store.cfgpath(), widgetValues(), store.anchors()) == 0)
        close();
}

void Cfgdialog::enable_filehandling(bool on)
{
    const QList<QWidget*> widgets = { rb_save_humread, rb_save_nowhite, lb_indent, spin_indent,
        lb_filenameadd, le_filenameadd, cb_adddelnodes, cb_cm_cm, cb_cm_pc, cb_cm_cc, cb_cm_ac,
        cb_cm_acc, cb_cm_pcc, cb_cm_pac, cb_cm_pcac, cb_cm_add, cb_cm_del };
    for (QWidget* widget : widgets)
        widget->setEnabled(on);
}

void Cfgdialog::enable_attrmarks(bool on)
{
    const QList<QWidget*> widgets = { lb_attradd, lb_attrdel, lb_attrvc, lb_attrcm, le_attr_add,
        le_attr_del, le_attr_chg, le_attr_cm };
    for (QWidget* widget : widgets)
        widget->setEnabled(on);
}

void Cfgdialog::toggle_filehandling() { enable_filehandling(cb_writeresfile->isChecked()); }

void Cfgdialog::toggle_logdir()
{
    const bool on = cb_writelog->isChecked();
    ln_logdir->setEnabled(on);
    lb_logdir->setEnabled(on);
}

void Cfgdialog::toggle_content()
{
    const bool on = cb_contentmode->isChecked();
    lb_content->setEnabled(on);
    ln_excludedels->setEnabled(on);
}

void Cfgdialog::toggle_igattrs()
{
    const bool ignore = cb_igattrs->isChecked();
    cb_igattrorder->setEnabled(!ignore);
    cb_cmpattrs->setEnabled(!ignore);
    enable_attrmarks(!ignore && cb_cmpattrs->isChecked());
}

void Cfgdialog::toggle_cmpattrs() { enable_attrmarks(cb_cmpattrs->isChecked()); }

void Cfgdialog::show_anchor(const QString& name)
{
    const Anchor* anchor = Cfgstore::instance().anchor(name);
    if (!anchor) {
        logError(notPresentText());
        QMessageBox::critical(this, QStringLiteral("Corrupt configuration"), notPresentText());
        return;
    }
    cb_absolute->setChecked(anchor->absolute);
    cb_anchnormsp->setChecked(anchor->normalizeSpaces);
    lne_apath->setText(anchor->path);
}

void Cfgdialog::storePanel(const QString& name)
{
    Cfgstore::instance().replaceAnchor(
        name, lne_apath->text(), cb_absolute->isChecked(), cb_anchnormsp->isChecked());
}

void Cfgdialog::listitemchanged(QListWidgetItem* current, QListWidgetItem* previous)
{
    if (!current || !previous || current == previous)
        return;
    if (Cfgstore::instance().anchor(previous->text()))
        storePanel(previous->text());
    show_anchor(current->text());
}

void Cfgdialog::add_anchor()
{
    Newanchor dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QString name = dialog.elementName();
    const QString path = dialog.anchorPath();
    if (name.isEmpty())
        return;

    Cfgstore& store = Cfgstore::instance();
    if (QListWidgetItem* current = elementlist->currentItem())
        storePanel(current->text());
    if (store.anchor(name)) {
        QMessageBox::critical(
            this, QStringLiteral("Double entry"), QStringLiteral("Element names must be unique!"));
        return;
    }
    Anchor anchor;
    anchor.name = name;
    anchor.path = path;
    store.insertAnchor(anchor);
    auto* item = new QListWidgetItem(name, elementlist);
    elementlist->setCurrentItem(item);
    lne_apath->setText(path);
    cb_absolute->setChecked(false);
    cb_anchnormsp->setChecked(false);
}

void Cfgdialog::del_anchor()
{
    if (elementlist->count() == 0)
        return;
    Cfgstore& store = Cfgstore::instance();
    const int row = elementlist->currentRow();
    const QString name = row >= 0 ? elementlist->item(row)->text() : QString();
    if (store.anchor(name)) {
        store.removeAnchor(name);
    } else {
        const QString message = notPresentText() + QLatin1Char(' ') + name;
        logError(message);
        QMessageBox::critical(this, QString(), message);
    }
    // Taking the row moves the current item; the deleted anchor is gone from the table by now,
    // so its panel values cannot overwrite its neighbour.
    delete elementlist->takeItem(row);
    if (elementlist->count() == 0) {
        lne_apath->clear();
        cb_absolute->setChecked(false);
        cb_anchnormsp->setChecked(false);
        return;
    }
    elementlist->setCurrentRow(0);
    show_anchor(elementlist->item(0)->text());
}
