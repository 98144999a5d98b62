// The OK and Cancel buttons of the program's small dialogs: OK the default, each
// closing the dialog as it says. Further buttons can join the returned box.
#pragma once

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace zentrik {

struct OkCancel {
  QDialogButtonBox* box;
  QPushButton* ok;
  QPushButton* cancel;
};

inline OkCancel add_ok_cancel(QDialog& dialog) {
  auto* box = new QDialogButtonBox(&dialog);
  QPushButton* ok = box->addButton(QDialog::tr("OK"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = box->addButton(QDialog::tr("Cancel"), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  QObject::connect(box, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(box, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return {box, ok, cancel};
}

}  // namespace zentrik
