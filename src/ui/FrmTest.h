#pragma once

#include "BlackMarkCatalogue.h"
#include "CommandSender.h"
#include "MessageBoxMessages.h"
#include "WindowValues.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <functional>

class PrinterSdk;

// The tool's only window: the port and its parameters, the black-mark settings and one
// button per printer command.
class FrmTest : public QWidget
{
    Q_OBJECT

public:
    using PrinterNames = std::function<QStringList()>;

    // installedPrinters lists the platform's printer queues, in the platform's order.
    explicit FrmTest(PrinterSdk& sdk, PrinterNames installedPrinters = platformPrinterNames,
                     QWidget* parent = nullptr);

    static QStringList platformPrinterNames();

    // What the port controls show now: the port a press sends to.
    PortSettings portSettings() const;

    const WindowValues& windowValues() const { return values_; }

    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label4;
    QComboBox* Combo1;
    QComboBox* Combo2;
    QComboBox* Combo3;
    QComboBox* Combo4;
    QLineEdit* Text1;
    std::array<QLineEdit*, 6> Text2;
    std::array<QLabel*, 6> Label5;
    QPushButton* Command1;
    QPushButton* Command2;
    QPushButton* Command3;
    QPushButton* Command4;
    QPushButton* Command5;
    QPushButton* Command6;
    QPushButton* Command7;
    QPushButton* Command8;
    QPushButton* Command9;
    QPushButton* Command10;

private:
    void createControls();
    void setTabOrder();
    void connectHandlers();
    void Form_Load();

    void Combo1_Click();
    void Combo1_Change();
    void applyPortEnabling();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void Command8_Click();
    void Command9_Click();
    void Command10_Click();

    PrinterNames installedPrinters_;
    MessageBoxMessages messages_;
    WindowValues values_;
    CommandSender sender_;
    BlackMarkCatalogue catalogue_;
};
