#pragma once

#include "ui_newanchor.h"

#include <QDialog>

// Collects the element name and path of a new anchor; the caller checks both.
class Newanchor : public QDialog, public Ui::dlg_newanchor {
    Q_OBJECT

public:
    explicit Newanchor(QWidget* parent = nullptr);
    ~Newanchor() override;

    // The element name as typed, blanks included; empty when nothing was typed.
    QString elementName() const;
    // The path as typed; empty when nothing was typed.
    QString anchorPath() const;
};
