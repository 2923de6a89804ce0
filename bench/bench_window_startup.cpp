// One start of either the tool's window as shipped ("tool": its own SDK and the platform's
// printer list) or a bare window of the same kinds and counts of widgets ("bare"): prints
// the microseconds from main to the window shown and loaded, and the peak resident memory in
// KiB. bench/window_startup.sh runs both in turn.
#include "FrmTest.h"
#include "SystemPrinterSdk.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace
{

template <typename Widget> void addWidgets(QWidget& window, int count, int& row)
{
    for (int i = 0; i < count; ++i, ++row) {
        auto* widget = new Widget(&window);
        widget->setGeometry(8, 8 + row * 16, 200, 16);
    }
}

// The tool's window holds 10 labels, 4 combo boxes, 7 line edits and 10 buttons.
void fillBareWindow(QWidget& window)
{
    int row = 0;
    addWidgets<QLabel>(window, 10, row);
    addWidgets<QComboBox>(window, 4, row);
    addWidgets<QLineEdit>(window, 7, row);
    addWidgets<QPushButton>(window, 10, row);
    window.setFixedSize(430, 529);
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer timer;
    timer.start();
    const bool tool = argc > 1 && std::strcmp(argv[1], "tool") == 0;
    QApplication app(argc, argv);
    SystemPrinterSdk sdk;
    std::unique_ptr<QWidget> window;
    if (tool) {
        window = std::make_unique<FrmTest>(sdk);
    } else {
        window = std::make_unique<QWidget>();
        fillBareWindow(*window);
    }
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 1;
    const qint64 elapsed = timer.nsecsElapsed() / 1000;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%lld %ld\n", static_cast<long long>(elapsed), usage.ru_maxrss);
    return 0;
}
