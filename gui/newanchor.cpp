#include "gui/newanchor.h"

Newanchor::Newanchor(QWidget* parent)
    : QDialog(parent)
{
    setupUi(this);
    connect(buttonBox, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttonBox, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

Newanchor::~Newanchor() = default;

QString Newanchor::elementName() const { return le_elementname->text(); }

QString Newanchor::anchorPath() const { return le_anchorpath->text(); }
