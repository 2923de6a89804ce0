#include "FrmTestModel.h"

#include "DistanceCount.h"
#include "FrmTestView.h"
#include "LayoutDistance.h"
#include "MenuView.h"
#include "PaperLayoutModel.h"
#include "PortChoices.h"
#include "PortKind.h"
#include "PrinterQuestions.h"

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
    loaded_ = true;
}

PortSettings FrmTestModel::portSettings() const
{
    return {view_.text(control("Combo1")), view_.text(control("Text1")),
            view_.text(control("Combo2")), view_.text(control("Combo3"))};
}

void FrmTestModel::chooseNetworkPrinter(const std::string& address)
{
    view_.selectItem(control("Combo1"), 0); // ETHERNET; raises Combo1_Click
    view_.setText(control("Text1"), address);
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

void FrmTestModel::runMenu(MenuCommand command, MenuView& view)
{
    if (MenuBar::talksToPrinter(command))
        view.whileBusy([&] { runMenuItem(command, view); });
    else
        runMenuItem(command, view);
}

void FrmTestModel::runMenuItem(MenuCommand command, MenuView& view)
{
    switch (command) {
    case MenuCommand::OpenProfile:
        view.openProfile();
        break;
    case MenuCommand::SaveProfile:
        view.saveProfile();
        break;
    case MenuCommand::ApplyProfile:
        view.openApplyDialog();
        break;
    case MenuCommand::WhoIsIt:
        PrinterQuestions(sdk_, messages_).whoIsIt(portSettings());
        break;
    case MenuCommand::CanItPrint:
        PrinterQuestions(sdk_, messages_).canItPrint(portSettings());
        break;
    case MenuCommand::FindPrinters:
        view.findPrinters();
        break;
    case MenuCommand::PaperLayout:
        view.openPaperLayout();
        break;
    case MenuCommand::PaperPreview:
        view.openPaperPreview();
        break;
    case MenuCommand::About:
        view.showAbout();
        break;
    }
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
        recordSent(catalogue_.Command1_Click(boxText(0), portSettings()), 0);
        break;
    case Handler::Command2_Click:
        recordSent(catalogue_.Command2_Click(boxText(1), portSettings()), 1);
        break;
    case Handler::Command3_Click:
        recordSent(catalogue_.Command3_Click(boxText(2), portSettings()), 2);
        break;
    case Handler::Command4_Click:
        recordSent(catalogue_.Command4_Click(boxText(3), portSettings()), 3);
        break;
    case Handler::Command5_Click: {
        const int index = view_.selectedIndex(control("Combo4"));
        if (catalogue_.Command5_Click(index, portSettings()).result == SendOutcome::Result::Sent)
            sent_.switchSent(index == 1);
        break;
    }
    case Handler::Command6_Click:
        recordSent(catalogue_.Command6_Click(boxText(4), portSettings()), 4);
        break;
    case Handler::Command7_Click:
        recordSent(catalogue_.Command7_Click(boxText(5), portSettings()), 5);
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

void FrmTestModel::recordSent(const SendOutcome& outcome, int row)
{
    if (outcome.result != SendOutcome::Result::Sent)
        return;
    // Rows in pairs from the third: feed, then backfeed of one setting.
    const auto setting = SentSettings::Setting(row < 2 ? row : 2 + (row - 2) / 2);
    sent_.distanceSent(setting, DistanceCount::fromBoxText(boxText(row)).value_or(0),
                       row >= 2 && row % 2 == 1);
}

void FrmTestModel::Text2_Change(int row)
{
    // The start values are no choice of the user's between feed and backfeed.
    if (loaded_)
        paperPreview_.boxEdited(row, boxText(row));
    else
        paperPreview_.setBox(row, boxText(row));
}

void FrmTestModel::showSettings(const std::array<std::optional<std::string>, 6>& boxes,
                                std::optional<int> switchIndex)
{
    // Of each pair the box that holds the distance is filled last, as the preview takes the
    // box of a pair changed last for the direction the printer keeps.
    for (const bool distance : {false, true}) {
        for (int row = 0; row < 6; ++row) {
            const auto& box = boxes[std::size_t(row)];
            if (box && (*box != "0") == distance)
                view_.setText(control("Text2", row), *box);
        }
    }
    if (switchIndex)
        view_.selectItem(control("Combo4"), *switchIndex);
}

void FrmTestModel::layoutSet(const PaperLayoutValues& values)
{
    // The layout as the dialog sent it: what it greys out or leaves empty is not sent.
    PaperLayout layout;
    layout.kind = values.kind;
    const std::string* texts[] = {&values.pitch, &values.printStart, &values.cut, &values.bottom};
    for (std::size_t i = 0; i < PaperLayoutModel::Distances.size(); ++i) {
        const PaperLayout::Field field = PaperLayoutModel::Distances[i];
        const std::string& text = *texts[i];
        if (!PaperLayoutModel::takes(values.kind, field) ||
            text.find_first_not_of(' ') == std::string::npos)
            continue;
        const LayoutDistance distance = LayoutDistance::read(text, field, {});
        if (distance.refusal.empty())
            layout.fields[field] = distance.tenths;
    }
    sent_.layoutSet(layout, values.keepAfterPowerOff);
}
