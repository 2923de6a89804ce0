#include "PrinterSearchDialog.h"

#include "DialogWidgets.h"
#include "ProbePort.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>

PrinterSearch::Settings PrinterSearchDialog::networkSettings()
{
    return {[] { return makeProbePort(Discovery::DefaultTimeoutMs); }};
}

PrinterSearchDialog::PrinterSearchDialog(FrmTestModel& window, PrinterSearch::Settings settings,
                                         PrinterSearch::OwnAddresses ownAddresses, QWidget* parent)
    : QDialog(parent), messages_(this),
      search_(*this, window, messages_, std::move(ownAddresses), std::move(settings))
{
    setObjectName(QStringLiteral("PrinterSearchDialog"));
    setWindowTitle(QString::fromUtf8(PrinterSearch::Title));
    createControls();
    search_.open();
}

PrinterSearchDialog::~PrinterSearchDialog()
{
    search_.close();
}

void PrinterSearchDialog::createControls()
{
    auto* label = new QLabel(QStringLiteral("&Ranges to search:"), this);
    ranges = new QLineEdit(this);
    ranges->setObjectName(QStringLiteral("ranges"));
    label->setBuddy(ranges);
    findButton = dialogButton("&Find", "find", this);
    findButton->setDefault(true);
    stopButton = dialogButton("&Stop", "stop", this);
    progress = new QProgressBar(this);
    progress->setObjectName(QStringLiteral("progress"));
    progress->setFormat(QStringLiteral("%v of %m"));
    summary = new QLabel(this);
    summary->setObjectName(QStringLiteral("summary"));
    printers = new QTreeWidget(this);
    printers->setObjectName(QStringLiteral("printers"));
    printers->setRootIsDecorated(false);
    printers->setHeaderLabels({QStringLiteral("Address"), QStringLiteral("Maker and model"),
                               QStringLiteral("Ready, or why not")});
    printers->header()->resizeSection(0, 110);
    printers->header()->resizeSection(1, 220);
    useButton = dialogButton("&Use this printer", "use", this);
    useButton->setEnabled(false);
    closeButton = dialogButton("Close", "close", this);

    auto* rangeRow = new QHBoxLayout;
    rangeRow->addWidget(label);
    rangeRow->addWidget(ranges, 1);
    rangeRow->addWidget(findButton);
    rangeRow->addWidget(stopButton);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    buttonRow->addWidget(useButton);
    buttonRow->addWidget(closeButton);
    auto* column = new QVBoxLayout(this);
    column->addLayout(rangeRow);
    column->addWidget(progress);
    column->addWidget(summary);
    column->addWidget(printers, 1);
    column->addLayout(buttonRow);
    resize(600, 380);

    connect(findButton, &QPushButton::clicked, this, [this] { search_.find(); });
    connect(ranges, &QLineEdit::returnPressed, this, [this] { search_.find(); });
    connect(stopButton, &QPushButton::clicked, this, [this] { search_.stop(); });
    connect(useButton, &QPushButton::clicked, this, &PrinterSearchDialog::chooseCurrent);
    connect(printers, &QTreeWidget::itemActivated, this, &PrinterSearchDialog::chooseCurrent);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(printers, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { useButton->setEnabled(item != nullptr); });
}

void PrinterSearchDialog::chooseCurrent()
{
    const int row = printers->indexOfTopLevelItem(printers->currentItem());
    if (row < 0)
        return;
    search_.choose(std::size_t(row));
    accept();
}

void PrinterSearchDialog::done(int result)
{
    search_.close();
    QDialog::done(result);
}

void PrinterSearchDialog::setRangesText(const std::string& text)
{
    ranges->setText(qText(text));
}

std::string PrinterSearchDialog::rangesText() const
{
    return ranges->text().toStdString();
}

void PrinterSearchDialog::setProgress(std::size_t tried, std::size_t total)
{
    progress->setRange(0, int(total));
    progress->setValue(int(tried));
}

void PrinterSearchDialog::setSummary(const std::string& text)
{
    summary->setText(qText(text));
}

void PrinterSearchDialog::clearRows()
{
    printers->clear();
    useButton->setEnabled(false);
}

void PrinterSearchDialog::insertRow(std::size_t at, const PrinterSearchRow& row)
{
    printers->insertTopLevelItem(
        int(at),
        new QTreeWidgetItem({qText(row.address), qText(row.makerAndModel), qText(row.state)}));
}

void PrinterSearchDialog::setSearching(bool searching)
{
    findButton->setEnabled(!searching);
    ranges->setReadOnly(searching);
    stopButton->setEnabled(searching);
    // Find is off while it runs: the focus goes where the next key is useful.
    if (searching) {
        setCursor(Qt::BusyCursor);
        stopButton->setFocus();
    } else {
        unsetCursor();
        if (printers->topLevelItemCount() > 0) {
            printers->setCurrentItem(printers->topLevelItem(0));
            printers->setFocus();
        } else {
            ranges->setFocus();
        }
    }
}

void PrinterSearchDialog::wake()
{
    // Queued onto the dialog's thread; dropped if the dialog is gone by then.
    QMetaObject::invokeMethod(
        this, [this] { search_.showProgress(); }, Qt::QueuedConnection);
}
