// One start of a window, shown until the window system has exposed it; prints the peak
// resident memory in KiB. Built twice: with BLACKMARK_TOOL_WINDOW it is the tool's window
// as shipped (linked as blackmark-setup is, with its own SDK and the platform's printer
// list); without, a bare window of the same kinds and counts of widgets, linked against Qt
// Widgets alone. bench/window_startup.sh times whole processes of both, side by side.
#ifdef BLACKMARK_TOOL_WINDOW
#include "FrmTest.h"
#include "SystemPorts.h"
#include "SystemPrinterSdk.h"
#endif

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <cstdio>
#include <memory>
#include <sys/resource.h>

namespace
{

// Like the tool's, every widget shows a text, so both windows load the fonts.
void showText(QLabel& label, const QString& text)
{
    label.setText(text);
}
void showText(QPushButton& button, const QString& text)
{
    button.setText(text);
}
void showText(QLineEdit& edit, const QString& text)
{
    edit.setText(text);
}
void showText(QComboBox& combo, const QString& text)
{
    combo.addItem(text);
}

template <typename Widget> void addWidgets(QWidget& window, int count, int& row)
{
    for (int i = 0; i < count; ++i, ++row) {
        auto* widget = new Widget(&window);
        widget->setGeometry(8, 8 + row * 16, 200, 16);
        showText(*widget, QStringLiteral("Text %1").arg(row));
    }
}

// The tool's window holds a menu bar of 4 menus and 9 items, 10 labels, 4 combo boxes, 7 line
// edits and 10 buttons.
[[maybe_unused]] std::unique_ptr<QWidget> bareWindow()
{
    auto window = std::make_unique<QWidget>();
    auto* menuBar = new QMenuBar(window.get());
    const int items[] = {3, 4, 1, 1};
    for (int menu = 0; menu < 4; ++menu) {
        QMenu* popup = menuBar->addMenu(QStringLiteral("&Menu %1").arg(menu));
        for (int item = 0; item < items[menu]; ++item)
            popup->addAction(QStringLiteral("&Item %1").arg(item), [] {});
    }
    menuBar->setGeometry(0, 0, 430, menuBar->sizeHint().height());
    int row = 0;
    addWidgets<QLabel>(*window, 10, row);
    addWidgets<QComboBox>(*window, 4, row);
    addWidgets<QLineEdit>(*window, 7, row);
    addWidgets<QPushButton>(*window, 10, row);
    window->setFixedSize(430, 529 + menuBar->height());
    return window;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
#ifdef BLACKMARK_TOOL_WINDOW
    SystemPrinterSdk sdk(systemPortFor);
    auto window = std::make_unique<FrmTest>(sdk);
#else
    std::unique_ptr<QWidget> window = bareWindow();
#endif
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
        return 1;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("%ld\n", usage.ru_maxrss);
    return 0;
}
