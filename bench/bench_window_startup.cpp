// One start of either the tool's window ("tool") or a bare window holding the same number
// of plain widgets ("bare"): prints the microseconds from main to the window shown and
// loaded, and the peak resident memory in KiB. bench/window_startup.sh runs both in turn.
#include "FrmTest.h"
#include "RecordingPrinterSdk.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <cstdio>
#include <cstring>
#include <sys/resource.h>

namespace
{

void fillBareWindow(QWidget& window)
{
    // 31 controls, as the tool's window has.
    for (int i = 0; i < 31; ++i) {
        auto* label = new QLabel(QStringLiteral("control %1").arg(i), &window);
        label->setGeometry(8, 8 + i * 16, 200, 16);
    }
    window.setFixedSize(430, 529);
}

} // namespace

int main(int argc, char** argv)
{
    QElapsedTimer timer;
    timer.start();
    const bool tool = argc > 1 && std::strcmp(argv[1], "tool") == 0;
    QApplication app(argc, argv);
    RecordingPrinterSdk sdk;
    std::unique_ptr<QWidget> window;
    if (tool) {
        window = std::make_unique<FrmTest>(sdk, [] { return QStringList{"A", "B", "C"}; });
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
