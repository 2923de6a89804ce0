// The window's File menu: a profile read into the window, what the printer took saved as one,
// and the dialog that applies a profile to many printers.
#include "ApplyProfileDialog.h"
#include "DialogFileChooser.h"
#include "FrmTest.h"
#include "ProfileFiles.h"
#include "SystemPorts.h"
#include "SystemPrinterSdk.h"

void FrmTest::openProfile()
{
    DialogFileChooser files(this);
    ProfileFiles::open(model_, files, messages_);
}

void FrmTest::saveProfile()
{
    DialogFileChooser files(this);
    ProfileFiles::save(model_, files, messages_);
}

void FrmTest::openApplyDialog()
{
    // Each printer at work gets an SDK of its own, as `apply` gives it.
    auto* dialog =
        new ApplyProfileDialog([] { return std::make_unique<SystemPrinterSdk>(systemPortFor); },
                               model_.foundPrinters(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::finished, dialog, &QObject::deleteLater);
    dialog->setModal(true);
    dialog->show();
}
