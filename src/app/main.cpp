#include "FrmTest.h"
#include "SystemPrinterSdk.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("blackmark-setup"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("blackmark-setup"));
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/blackmark-setup-%1.png").arg(size));
    QApplication::setWindowIcon(icon);

    SystemPrinterSdk sdk;
    FrmTest window(sdk);
    window.setAttribute(Qt::WA_QuitOnClose);
    window.show();
    return app.exec();
}
