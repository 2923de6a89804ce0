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
    DialogFileChooser files(window_);
    ProfileFiles::open(model_, files, messages_);
}

void FrmTest::saveProfile()
{
    DialogFileChooser files(window_);
    ProfileFiles::save(model_, files, messages_);
}

void FrmTest::openApplyDialog()
{
    // Each printer at work gets an SDK of its own, as `apply` gives it.
    ApplyProfileDialog dialog(
        window_, instance_, [] { return std::make_unique<SystemPrinterSdk>(systemPortFor); },
        model_.foundPrinters());
    dialog.exec();
}
