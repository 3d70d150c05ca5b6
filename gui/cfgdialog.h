#pragma once

#include "ui_cfgdialog.h"

#include <QDialog>
#include <QStringList>

class QListWidgetItem;

// The modal dialog that shows every setting and the anchor elements and writes the
// configuration file. The widgets are the working copy of the parameters; the store's anchor
// table is the working copy of the anchors.
class Cfgdialog : public QDialog, public Ui::Cfgdialog {
    Q_OBJECT

public:
    explicit Cfgdialog(QWidget* parent = nullptr);
    ~Cfgdialog() override;

    // Reads the configuration file into the store and the widgets; returns 0, 1 when there is no
    // file yet (the built-in settings are shown instead), or -1095 (and touches no widget) when
    // the file exists but cannot be read.
    int loadcfg();
    // The values of the key table's keys, in table order, as the widgets show them.
    QStringList widgetValues() const;

public Q_SLOTS:
    void savecfg();
    void toggle_filehandling();
    void toggle_logdir();
    void toggle_content();
    void toggle_igattrs();
    void toggle_cmpattrs();
    void listitemchanged(QListWidgetItem* current, QListWidgetItem* previous);
    void add_anchor();
    void del_anchor();

private:
    void enable_filehandling(bool on);
    void enable_attrmarks(bool on);
    void show_anchor(const QString& name);
    // Stores the panel's path and flags as the anchor of this name.
    void storePanel(const QString& name);
};
