#pragma once

#include "PaperLayoutModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <array>
#include <functional>

// Printer ▸ Paper layout… on Qt: the controls of the paper layout model, each handing its
// events to it. Made when opened; what is typed stays in the window's model.
class PaperLayoutDialog : public QDialog
{
    Q_OBJECT

public:
    using PortOfWindow = std::function<PortSettings()>;

    PaperLayoutDialog(PaperLayoutValues& values, PrinterSdk& sdk, UserMessages& messages,
                      PortOfWindow port, QWidget* parent = nullptr);

    QComboBox* kind;
    std::array<QLineEdit*, 4> distances; // in the model's order
    QCheckBox* keepAfterPowerOff;
    QPushButton* set;
    QPushButton* readBack;
    QPushButton* testPrint;
    QPushButton* testCut;
    QLabel* status;

private:
    void showKind();
    void run(bool (PaperLayoutModel::*action)(const PortSettings&));

    PaperLayoutModel model_;
    PortOfWindow port_;
};
