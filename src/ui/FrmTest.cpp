#include "FrmTest.h"

#include "BlackMarkCommands.h"
#include "DefaultNetworkAddress.h"
#include "PortKind.h"
#include "PrinterQueues.h"
#include "Twips.h"

#include <QGuiApplication>

using namespace BlackMarkCommands;

namespace
{

constexpr int ClientWidthTwips = 6450;
constexpr int ClientHeightTwips = 7935;

const QStringList PortEntries{"ETHERNET", "COM1", "COM2", "COM3", "COM4", "COM5", "COM6",
                              "COM7",     "COM8", "COM9", "LPT1", "LPT2", "LPT3", "DRIVER"};
const QStringList BaudRateEntries{"9600", "19200", "38400", "115200"};

// The setting rows: button top, box top, label top.
struct SettingRowTops {
    int button;
    int box;
    int label;
};
constexpr SettingRowTops SettingRows[6] = {{1575, 1620, 1710}, {2205, 2250, 2295},
                                           {2835, 2880, 2880}, {3465, 3510, 3555},
                                           {4095, 4140, 4185}, {4725, 4770, 4770}};
constexpr const DistanceCommand* RowCommands[6] = {&MarkMaxWidth,    &PaperMaxWidth,
                                                   &PrintStartFeed,  &PrintStartBackfeed,
                                                   &CutPositionFeed, &CutPositionBackfeed};

QFont portRowLabelFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Sans Serif")});
    font.setPointSizeF(9.75);
    font.setWeight(QFont::Bold);
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

template <typename Control>
Control* place(QWidget* window, const char* name, int left, int top, int width, int height)
{
    auto* control = new Control(window);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(Twips::rect(left, top, width, height));
    return control;
}

QLabel* label(QWidget* window, const char* name, const char* caption, int left, int top, int width,
              int height)
{
    QLabel* control = place<QLabel>(window, name, left, top, width, height);
    control->setText(QLatin1String(caption));
    return control;
}

QPushButton* button(QWidget* window, const char* name, const char* caption, int top)
{
    QPushButton* control = place<QPushButton>(window, name, 120, top, 3840, 465);
    control->setText(QLatin1String(caption));
    control->setAutoDefault(false);
    return control;
}

// The window does not answer while a command is sent; the cursor says so.
class BusyCursor
{
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace

FrmTest::FrmTest(PrinterSdk& sdk, PrinterNames installedPrinters, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      installedPrinters_(std::move(installedPrinters)), messages_(this),
      sender_(sdk, messages_, values_), catalogue_(sender_)
{
    setObjectName(QStringLiteral("FrmTest"));
    setWindowTitle(QStringLiteral("FrmSetting"));
    setFont(windowFont());
    setFixedSize(Twips::toPixels(ClientWidthTwips), Twips::toPixels(ClientHeightTwips));
    createControls();
    setTabOrder();
    connectHandlers();
    Form_Load();
    Combo1->setFocus();
}

QStringList FrmTest::platformPrinterNames()
{
    return PrinterQueues::list().names();
}

void FrmTest::createControls()
{
    Label1 = label(this, "Label1", "Select Port:", 45, 90, 1215, 255);
    Combo1 = place<QComboBox>(this, "Combo1", 45, 390, 1575, 315);
    Label4 = label(this, "Label4", "Baudrate:", 1665, 90, 1020, 255);
    Combo3 = place<QComboBox>(this, "Combo3", 1665, 390, 1095, 315);
    Label2 = label(this, "Label2", "IP:", 2880, 90, 570, 255);
    Text1 = place<QLineEdit>(this, "Text1", 2880, 390, 1485, 285);
    Label3 = label(this, "Label3", "Driver:", 4455, 90, 1080, 255);
    Combo2 = place<QComboBox>(this, "Combo2", 4455, 390, 1935, 315);
    for (QLabel* portLabel : {Label1, Label2, Label3, Label4})
        portLabel->setFont(portRowLabelFont());

    // Any port text may be typed; it is never added to the list, nor completed.
    Combo1->setEditable(true);
    Combo1->setInsertPolicy(QComboBox::NoInsert);
    Combo1->setCompleter(nullptr);
    Text1->setText(DefaultNetworkAddress);

    Command5 = button(this, "Command5", SwitchCaption, 945);
    Combo4 = place<QComboBox>(this, "Combo4", 4185, 990, 2205, 315);
    paintTextRed(Combo4);
    // Narrower still, so that OFF and ON are never cut off.
    QFont switchFont = font();
    switchFont.setStretch(QFont::Condensed);
    Combo4->setFont(switchFont);

    QPushButton** rowButtons[6] = {&Command1, &Command2, &Command3,
                                   &Command4, &Command6, &Command7};
    const char* rowButtonNames[6] = {"Command1", "Command2", "Command3",
                                     "Command4", "Command6", "Command7"};
    for (int row = 0; row < 6; ++row) {
        *rowButtons[row] =
            button(this, rowButtonNames[row], RowCommands[row]->caption, SettingRows[row].button);
        const QByteArray boxName = "Text2_" + QByteArray::number(row);
        Text2[row] =
            place<QLineEdit>(this, boxName.constData(), 4185, SettingRows[row].box, 1185, 330);
        paintTextRed(Text2[row]);
        const QByteArray labelName = "Label5_" + QByteArray::number(row);
        Label5[row] =
            label(this, labelName.constData(), "mm", 5580, SettingRows[row].label, 675, 255);
    }

    Command8 = button(this, "Command8", FindStartAndPrint.caption, 5400);
    Command9 = button(this, "Command9", TestCut.caption, 6075);
    Command10 = button(this, "Command10", "Close", 6885);
}

void FrmTest::setTabOrder()
{
    // The distance boxes come after all buttons, as the window has always had them.
    const QList<QWidget*> order{Combo1,   Combo2,   Combo3,    Command5, Combo4,   Text1,
                                Command1, Command2, Command3,  Command4, Command6, Command7,
                                Command8, Command9, Command10, Text2[0], Text2[1], Text2[2],
                                Text2[3], Text2[4], Text2[5]};
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        QWidget::setTabOrder(order[i], order[i + 1]);
}

void FrmTest::connectHandlers()
{
    connect(Combo1, &QComboBox::currentIndexChanged, this, &FrmTest::Combo1_Click);
    connect(Combo1, &QComboBox::editTextChanged, this, &FrmTest::Combo1_Change);
    connect(Command1, &QPushButton::clicked, this, &FrmTest::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &FrmTest::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &FrmTest::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &FrmTest::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &FrmTest::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &FrmTest::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &FrmTest::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &FrmTest::Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &FrmTest::Command9_Click);
    connect(Command10, &QPushButton::clicked, this, &FrmTest::Command10_Click);
}

void FrmTest::Form_Load()
{
    Combo1->addItems(PortEntries);
    Combo1->setCurrentIndex(0); // raises Combo1_Click at once

    Combo3->addItems(BaudRateEntries);
    Combo3->setCurrentIndex(1);

    for (const FixedCommand& entry : SwitchEntries)
        Combo4->addItem(QLatin1String(entry.caption));
    Combo4->setCurrentIndex(0);

    for (int row = 0; row < 6; ++row)
        Text2[row]->setText(QLatin1String(RowCommands[row]->startValue));

    Combo2->addItems(installedPrinters_());
    // Without any printer the list stays empty, and DRIVER then fails to open.
    if (Combo2->count() > 0)
        Combo2->setCurrentIndex(0);
}

PortSettings FrmTest::portSettings() const
{
    return {Combo1->currentText(), Text1->text(), Combo2->currentText(), Combo3->currentText()};
}

void FrmTest::applyPortEnabling()
{
    const std::optional<ParameterControlsEnabled> states =
        parameterControlsFor(Combo1->currentText());
    if (!states)
        return;
    Text1->setEnabled(states->networkAddress);
    Combo2->setEnabled(states->driver);
    Combo3->setEnabled(states->baudRate);
}

void FrmTest::Combo1_Click()
{
    applyPortEnabling();
}

void FrmTest::Combo1_Change()
{
    applyPortEnabling();
}

void FrmTest::Command1_Click()
{
    BusyCursor busy;
    catalogue_.Command1_Click(Text2[0]->text(), portSettings());
}

void FrmTest::Command2_Click()
{
    BusyCursor busy;
    catalogue_.Command2_Click(Text2[1]->text(), portSettings());
}

void FrmTest::Command3_Click()
{
    BusyCursor busy;
    catalogue_.Command3_Click(Text2[2]->text(), portSettings());
}

void FrmTest::Command4_Click()
{
    BusyCursor busy;
    catalogue_.Command4_Click(Text2[3]->text(), portSettings());
}

void FrmTest::Command5_Click()
{
    BusyCursor busy;
    catalogue_.Command5_Click(Combo4->currentIndex(), portSettings());
}

void FrmTest::Command6_Click()
{
    BusyCursor busy;
    catalogue_.Command6_Click(Text2[4]->text(), portSettings());
}

void FrmTest::Command7_Click()
{
    BusyCursor busy;
    catalogue_.Command7_Click(Text2[5]->text(), portSettings());
}

void FrmTest::Command8_Click()
{
    BusyCursor busy;
    catalogue_.Command8_Click(portSettings());
}

void FrmTest::Command9_Click()
{
    BusyCursor busy;
    catalogue_.Command9_Click(portSettings());
}

void FrmTest::Command10_Click()
{
    close();
}
