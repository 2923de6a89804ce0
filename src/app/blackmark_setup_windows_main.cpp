#include "FrmTest.h"
#include "SystemPorts.h"
#include "SystemPrinterSdk.h"

#include <windows.h>

#include <commctrl.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand)
{
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    SystemPrinterSdk sdk(systemPortFor);
    FrmTest window(instance, sdk);
    window.show(showCommand);
    return window.runMessageLoop();
}
