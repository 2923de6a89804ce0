#include "FrmTest.h"

#include "BusyCursor.h"
#include "DialogWidgets.h"
#include "NetworkInterfaces.h"
#include "PaperLayoutDialog.h"
#include "PaperPreviewWindow.h"
#include "PrinterQueues.h"
#include "PrinterSearchDialog.h"

#include <optional>

using FrmTestLayout::ControlKind;
using FrmTestLayout::Handler;

namespace
{

QRect pixels(const Twips::Rect& place)
{
    return QRect(Twips::toPixels(place.left), Twips::toPixels(place.top),
                 Twips::toPixels(place.width), Twips::toPixels(place.height));
}

QFont portRowLabelFont()
{
    QFont font;
    font.setFamilies({qText(FrmTestLayout::PortLabelFace), QStringLiteral("Sans Serif")});
    font.setPointSizeF(FrmTestLayout::PortLabelPoints);
    font.setWeight(QFont::Weight(FrmTestLayout::PortLabelWeight));
    // Where the face is missing, a narrower one keeps the captions inside their labels.
    font.setStretch(QFont::SemiCondensed);
    return font;
}

QFont windowFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Sans Serif")});
    font.setPointSizeF(8.0);
    font.setStretch(QFont::SemiCondensed);
    return font;
}

void paintTextRed(QWidget* widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, QColor(255, 0, 0));
    palette.setColor(QPalette::ButtonText, QColor(255, 0, 0));
    widget->setPalette(palette);
}

QWidget* make(const FrmTestLayout::Control& control, QWidget* window)
{
    switch (control.kind) {
    case ControlKind::Label:
        return new QLabel(qText(control.caption), window);
    case ControlKind::TextBox:
        return new QLineEdit(qText(control.caption), window);
    case ControlKind::PushButton: {
        auto* button = new QPushButton(qText(control.caption), window);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::EditableList: {
        // Any port text may be typed; it is never added to the list, nor completed.
        auto* list = new QComboBox(window);
        list->setEditable(true);
        list->setInsertPolicy(QComboBox::NoInsert);
        list->setCompleter(nullptr);
        return list;
    }
    case ControlKind::SelectionList:
        return new QComboBox(window);
    }
    return nullptr;
}

} // namespace

FrmTest::FrmTest(PrinterSdk& sdk, FrmTestModel::PrinterNames installedPrinters, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      messages_(this), model_(*this, sdk, messages_, std::move(installedPrinters))
{
    setObjectName(QStringLiteral("FrmTest"));
    setWindowTitle(qText(FrmTestLayout::Title));
    setFont(windowFont());
    createMenuBar();
    createControls();
    nameControls();
    setTabOrder();
    connectHandlers();
    model_.Form_Load();
    Combo1->setFocus();
}

std::vector<std::string> FrmTest::platformPrinterNames()
{
    return PrinterQueues::list().names();
}

void FrmTest::createMenuBar()
{
    menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    for (const MenuBar::Menu& menu : MenuBar::Menus) {
        QMenu* items = menuBar->addMenu(qText(menu.caption));
        for (const MenuBar::Item& item : menu.items) {
            const MenuCommand command = item.command;
            items->addAction(qText(item.caption), this, [this, command] { runMenu(command); });
        }
    }
    // The window grows by the menu bar alone; the client area keeps the layout's size.
    const int menuHeight = menuBar->sizeHint().height();
    const int width = Twips::toPixels(FrmTestLayout::ClientWidth);
    const int height = Twips::toPixels(FrmTestLayout::ClientHeight);
    menuBar->setGeometry(0, 0, width, menuHeight);
    client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setGeometry(0, menuHeight, width, height);
    setFixedSize(width, menuHeight + height);
}

void FrmTest::runMenu(MenuCommand command)
{
    model_.runMenu(command, *this);
}

void FrmTest::openPaperLayout()
{
    PaperLayoutDialog dialog(
        model_.paperLayoutValues(), model_.sdk(), messages_,
        [this] { return model_.portSettings(); }, this,
        [this](const PaperLayoutValues& values) { model_.layoutSet(values); });
    dialog.exec();
}

void FrmTest::openPaperPreview()
{
    // Made when first opened, so that the window starts without it.
    if (!paperPreview)
        paperPreview =
            new PaperPreviewWindow(model_.paperPreview(), model_.paperLayoutValues(), this);
    if (!paperPreview->isVisible()) // beside the window, whose boxes stay in sight
        paperPreview->move(frameGeometry().topRight() + QPoint(8, 0));
    paperPreview->show();
    paperPreview->raise();
    paperPreview->activateWindow();
}

void FrmTest::showAbout()
{
    messages_.show(MenuBar::aboutMessage(PROJECT_VERSION));
}

void FrmTest::whileBusy(const std::function<void()>& work)
{
    BusyCursor busy;
    work();
}

void FrmTest::createControls()
{
    for (const FrmTestLayout::Control& control : FrmTestLayout::Controls) {
        QWidget* widget = make(control, client);
        widget->setObjectName(QString::fromStdString(FrmTestLayout::objectName(control)));
        widget->setGeometry(pixels(control.place));
        if (control.font == FrmTestLayout::Font::PortLabel)
            widget->setFont(portRowLabelFont());
        if (control.redText)
            paintTextRed(widget);
        widgets_[&control] = widget;
    }
    // Narrower still, so that OFF and ON are never cut off.
    QFont switchFont = font();
    switchFont.setStretch(QFont::Condensed);
    widgets_.at(&FrmTestLayout::control("Combo4"))->setFont(switchFont);
}

void FrmTest::nameControls()
{
    const auto find = [this]<typename Widget>(Widget*& member, std::string_view name,
                                              int index = -1) {
        member = static_cast<Widget*>(widgets_.at(&FrmTestLayout::control(name, index)));
    };
    find(Label1, "Label1");
    find(Label2, "Label2");
    find(Label3, "Label3");
    find(Label4, "Label4");
    find(Combo1, "Combo1");
    find(Combo2, "Combo2");
    find(Combo3, "Combo3");
    find(Combo4, "Combo4");
    find(Text1, "Text1");
    for (int i = 0; i < 6; ++i) {
        find(Text2[i], "Text2", i);
        find(Label5[i], "Label5", i);
    }
    find(Command1, "Command1");
    find(Command2, "Command2");
    find(Command3, "Command3");
    find(Command4, "Command4");
    find(Command5, "Command5");
    find(Command6, "Command6");
    find(Command7, "Command7");
    find(Command8, "Command8");
    find(Command9, "Command9");
    find(Command10, "Command10");
}

void FrmTest::setTabOrder()
{
    const auto order = FrmTestLayout::tabOrder();
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(widgets_.at(order[i]), widgets_.at(order[i + 1]));
}

void FrmTest::connectHandlers()
{
    for (const FrmTestLayout::Control& control : FrmTestLayout::Controls) {
        QWidget* widget = widgets_.at(&control);
        const Handler click = control.onClick;
        const Handler change = control.onChange;
        if (auto* button = qobject_cast<QPushButton*>(widget); button && click != Handler::None)
            connect(button, &QPushButton::clicked, this, [this, click] { run(click); });
        auto* combo = qobject_cast<QComboBox*>(widget);
        if (combo && click != Handler::None)
            connect(combo, &QComboBox::currentIndexChanged, this, [this, click] { run(click); });
        if (combo && change != Handler::None)
            connect(combo, &QComboBox::editTextChanged, this, [this, change] { run(change); });
    }
    for (int row = 0; row < int(Text2.size()); ++row) {
        connect(Text2[std::size_t(row)], &QLineEdit::textChanged, this, [this, row] {
            model_.Text2_Change(row);
            if (paperPreview)
                paperPreview->refresh();
        });
    }
}

void FrmTest::run(Handler handler)
{
    std::optional<BusyCursor> busy;
    if (FrmTestModel::talksToPrinter(handler))
        busy.emplace();
    model_.run(handler);
}

QComboBox* FrmTest::list(const Control& control) const
{
    return static_cast<QComboBox*>(widgets_.at(&control));
}

void FrmTest::addItem(const Control& control, const std::string& text)
{
    list(control)->addItem(QString::fromStdString(text));
}

void FrmTest::selectItem(const Control& control, int index)
{
    QComboBox* combo = list(control);
    // The first entry added is selected already, and selecting it again raises no signal.
    if (combo->currentIndex() == index)
        run(control.onClick);
    else
        combo->setCurrentIndex(index);
}

int FrmTest::selectedIndex(const Control& control) const
{
    return list(control)->currentIndex();
}

int FrmTest::itemCount(const Control& control) const
{
    return list(control)->count();
}

void FrmTest::setText(const Control& control, const std::string& text)
{
    static_cast<QLineEdit*>(widgets_.at(&control))->setText(QString::fromStdString(text));
}

std::string FrmTest::text(const Control& control) const
{
    QWidget* widget = widgets_.at(&control);
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return combo->currentText().toStdString();
    return static_cast<QLineEdit*>(widget)->text().toStdString();
}

void FrmTest::setEnabled(const Control& control, bool enabled)
{
    widgets_.at(&control)->setEnabled(enabled);
}

void FrmTest::unload()
{
    close();
}

void FrmTest::findPrinters()
{
    PrinterSearchDialog dialog(model_, PrinterSearchDialog::networkSettings(),
                               NetworkInterfaces::ipv4Addresses, this);
    dialog.exec();
}
