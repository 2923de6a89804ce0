#pragma once

#include "FrmTestModel.h"
#include "FrmTestView.h"
#include "MenuBar.h"
#include "MenuView.h"
#include "MessageBoxMessages.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <map>

class PaperPreviewWindow;
class PrinterSdk;

// The tool's only window on Qt: the controls of the window's model, placed as it lays them
// out, with their events handed to it.
class FrmTest : public QWidget, public FrmTestView, private MenuView
{
    Q_OBJECT

public:
    explicit FrmTest(PrinterSdk& sdk,
                     FrmTestModel::PrinterNames installedPrinters = platformPrinterNames,
                     QWidget* parent = nullptr);

    static std::vector<std::string> platformPrinterNames();

    PortSettings portSettings() const { return model_.portSettings(); }
    const WindowValues& windowValues() const { return model_.windowValues(); }
    // What the window's dialogs work on.
    FrmTestModel& model() { return model_; }

    // Opens the item's dialog, or runs the item.
    void runMenu(MenuCommand command);

    QMenuBar* menuBar;
    // Below the menu bar: the controls, placed in it as the layout has them.
    QWidget* client;

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
    // View ▸ Paper preview…, hidden until opened.
    PaperPreviewWindow* paperPreview = nullptr;

private:
    void addItem(const Control& list, const std::string& text) override;
    void selectItem(const Control& list, int index) override;
    int selectedIndex(const Control& list) const override;
    int itemCount(const Control& list) const override;
    void setText(const Control& control, const std::string& text) override;
    std::string text(const Control& control) const override;
    void setEnabled(const Control& control, bool enabled) override;
    void unload() override;

    void createMenuBar();
    void findPrinters() override;
    void openPaperLayout() override;
    void openPaperPreview() override;
    void showAbout() override;
    void whileBusy(const std::function<void()>& work) override;
    void createControls();
    void nameControls();
    void setTabOrder();
    void connectHandlers();
    void run(FrmTestLayout::Handler handler);
    QComboBox* list(const Control& control) const;
    // File ▸ Open profile…, Save profile… and Apply a profile to printers…
    void openProfile() override;
    void saveProfile() override;
    void openApplyDialog() override;

    std::map<const Control*, QWidget*> widgets_;
    MessageBoxMessages messages_;
    FrmTestModel model_;
};
