#include "FrmTestModel.h"

#include "FrmTestView.h"
#include "PortChoices.h"
#include "PortKind.h"

using FrmTestLayout::control;
using FrmTestLayout::Handler;

FrmTestModel::FrmTestModel(FrmTestView& view, PrinterSdk& sdk, UserMessages& messages,
                           PrinterNames installedPrinters)
    : view_(view), sdk_(sdk), messages_(messages), installedPrinters_(std::move(installedPrinters)),
      sender_(sdk, messages, values_), catalogue_(sender_)
{
}

void FrmTestModel::Form_Load()
{
    const auto& Combo1 = control("Combo1");
    for (std::string_view entry : PortChoices::PortEntries)
        view_.addItem(Combo1, std::string(entry));
    view_.selectItem(Combo1, 0); // raises Combo1_Click at once

    const auto& Combo3 = control("Combo3");
    for (std::string_view rate : PortChoices::BaudRates)
        view_.addItem(Combo3, std::string(rate));
    view_.selectItem(Combo3, PortChoices::DefaultBaudRate);

    const auto& Combo4 = control("Combo4");
    for (const FixedCommand& entry : BlackMarkCommands::SwitchEntries)
        view_.addItem(Combo4, entry.caption);
    view_.selectItem(Combo4, 0);

    for (int row = 0; row < 6; ++row)
        view_.setText(control("Text2", row), BlackMarkCommands::SettingRows[row]->startValue);

    const auto& Combo2 = control("Combo2");
    for (const std::string& printer : installedPrinters_())
        view_.addItem(Combo2, printer);
    // Without any printer the list stays empty, and DRIVER then fails to open.
    if (view_.itemCount(Combo2) > 0)
        view_.selectItem(Combo2, 0);
}

PortSettings FrmTestModel::portSettings() const
{
    return {view_.text(control("Combo1")), view_.text(control("Text1")),
            view_.text(control("Combo2")), view_.text(control("Combo3"))};
}

std::string FrmTestModel::boxText(int row) const
{
    return view_.text(control("Text2", row));
}

void FrmTestModel::applyPortEnabling()
{
    const auto states = parameterControlsFor(view_.text(control("Combo1")));
    if (!states)
        return;
    view_.setEnabled(control("Text1"), states->networkAddress);
    view_.setEnabled(control("Combo2"), states->driver);
    view_.setEnabled(control("Combo3"), states->baudRate);
}

bool FrmTestModel::talksToPrinter(Handler handler)
{
    return handler != Handler::None && handler != Handler::Combo1_Click &&
           handler != Handler::Combo1_Change && handler != Handler::Command10_Click;
}

void FrmTestModel::run(Handler handler)
{
    switch (handler) {
    case Handler::None:
        break;
    case Handler::Combo1_Click:
    case Handler::Combo1_Change:
        applyPortEnabling();
        break;
    case Handler::Command1_Click:
        catalogue_.Command1_Click(boxText(0), portSettings());
        break;
    case Handler::Command2_Click:
        catalogue_.Command2_Click(boxText(1), portSettings());
        break;
    case Handler::Command3_Click:
        catalogue_.Command3_Click(boxText(2), portSettings());
        break;
    case Handler::Command4_Click:
        catalogue_.Command4_Click(boxText(3), portSettings());
        break;
    case Handler::Command5_Click:
        catalogue_.Command5_Click(view_.selectedIndex(control("Combo4")), portSettings());
        break;
    case Handler::Command6_Click:
        catalogue_.Command6_Click(boxText(4), portSettings());
        break;
    case Handler::Command7_Click:
        catalogue_.Command7_Click(boxText(5), portSettings());
        break;
    case Handler::Command8_Click:
        catalogue_.Command8_Click(portSettings());
        break;
    case Handler::Command9_Click:
        catalogue_.Command9_Click(portSettings());
        break;
    case Handler::Command10_Click:
        view_.unload();
        break;
    }
}
