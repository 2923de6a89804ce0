#include "ApplyProfileDialog.h"

#include "DialogWidgets.h"
#include "SystemPorts.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

namespace
{

template <typename Widget, typename... Arguments>
Widget* named(const char* name, Arguments&&... arguments)
{
    auto* widget = new Widget(std::forward<Arguments>(arguments)...);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

ApplyProfileDialog::ApplyProfileDialog(FleetRun::SdkMaker makeSdk, std::vector<std::string> found,
                                       QWidget* parent)
    : QDialog(parent), messages_(this), files_(this)
{
    setObjectName(QStringLiteral("ApplyProfileDialog"));
    setWindowTitle(QString::fromLatin1(ApplyProfileModel::Title));
    createControls(found.size());
    connectControls();
    model_.emplace(*this, messages_, files_, std::move(makeSdk), SystemDevicePaths,
                   std::move(found), [this] {
                       QMetaObject::invokeMethod(
                           this, [this] { model_->deliver(); }, Qt::QueuedConnection);
                   });
}

ApplyProfileDialog::~ApplyProfileDialog()
{
    model_.reset(); // stops a run and waits for the printers at work
}

void ApplyProfileDialog::createControls(std::size_t foundCount)
{
    profilePath = named<QLineEdit>("profilePath");
    profileBrowse = named<QPushButton>("profileBrowse", tr("Browse…"));
    auto* profileRow = new QHBoxLayout;
    profileRow->addWidget(profilePath);
    profileRow->addWidget(profileBrowse);

    listFileChoice = named<QRadioButton>("listFileChoice", tr("A list file"));
    listPath = named<QLineEdit>("listPath");
    listBrowse = named<QPushButton>("listBrowse", tr("Browse…"));
    pastedChoice = named<QRadioButton>("pastedChoice", tr("These lines"));
    pastedLines = named<QPlainTextEdit>("pastedLines");
    pastedLines->setPlaceholderText(QStringLiteral("ETHERNET 192.168.1.50"));
    pastedLines->setMaximumHeight(70);
    foundChoice = named<QRadioButton>(
        "foundChoice", tr("The printers found by the search (%1)").arg(qsizetype(foundCount)));
    listFileChoice->setChecked(true);
    auto* printers = new QGroupBox(tr("Printers"));
    auto* printersLayout = new QFormLayout(printers);
    auto* listRow = new QHBoxLayout;
    listRow->addWidget(listPath);
    listRow->addWidget(listBrowse);
    printersLayout->addRow(listFileChoice, listRow);
    printersLayout->addRow(pastedChoice, pastedLines);
    printersLayout->addRow(foundChoice);

    jobs = named<QLineEdit>("jobs", QString::number(FleetRun::DefaultJobs));
    jobs->setMaximumWidth(60);
    force = named<QCheckBox>("force", tr("Force: also printers that cannot print now"));
    auto* form = new QFormLayout;
    form->addRow(tr("Profile:"), profileRow);
    form->addRow(printers);
    form->addRow(tr("Jobs:"), jobs);
    form->addRow(force);

    applyButton = named<QPushButton>("applyButton", tr("Apply"));
    stopButton = named<QPushButton>("stopButton", tr("Stop"));
    progress = named<QProgressBar>("progress");
    auto* runRow = new QHBoxLayout;
    runRow->addWidget(applyButton);
    runRow->addWidget(stopButton);
    runRow->addWidget(progress, 1);

    table = named<QTableWidget>("table", 0, 5);
    table->setHorizontalHeaderLabels(
        {tr("Printer"), tr("Maker and model"), tr("Result"), tr("Reason"), tr("Time")});
    table->horizontalHeader()->setSectionResizeMode(3, QHeaderView::Stretch);
    table->verticalHeader()->hide();
    table->setWordWrap(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);

    saveReportButton = named<QPushButton>("saveReportButton", tr("Save report…"));
    closeButton = named<QPushButton>("closeButton", tr("Close"));
    for (QPushButton* button :
         {profileBrowse, listBrowse, applyButton, stopButton, saveReportButton, closeButton})
        button->setAutoDefault(false);
    auto* endRow = new QHBoxLayout;
    endRow->addStretch(1);
    endRow->addWidget(saveReportButton);
    endRow->addWidget(closeButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(runRow);
    layout->addWidget(table, 1);
    layout->addLayout(endRow);
    resize(760, 520);
}

void ApplyProfileDialog::connectControls()
{
    connect(profileBrowse, &QPushButton::clicked, this, [this] {
        if (const auto path = model_->browseProfile())
            profilePath->setText(qText(*path));
    });
    connect(listBrowse, &QPushButton::clicked, this, [this] {
        if (const auto path = model_->browseList()) {
            listPath->setText(qText(*path));
            listFileChoice->setChecked(true);
        }
    });
    connect(applyButton, &QPushButton::clicked, this, [this] { model_->apply(request()); });
    connect(stopButton, &QPushButton::clicked, this, [this] { model_->stop(); });
    connect(saveReportButton, &QPushButton::clicked, this, [this] { model_->saveReport(); });
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
}

ApplyProfileModel::Request ApplyProfileDialog::request() const
{
    using Printers = ApplyProfileModel::Request::Printers;
    ApplyProfileModel::Request request;
    request.profilePath = profilePath->text().toStdString();
    request.printers = pastedChoice->isChecked()  ? Printers::Pasted
                       : foundChoice->isChecked() ? Printers::Found
                                                  : Printers::ListFile;
    request.listPath = listPath->text().toStdString();
    request.pastedLines = pastedLines->toPlainText().toStdString();
    request.jobs = jobs->text().trimmed().toStdString();
    request.force = force->isChecked();
    return request;
}

void ApplyProfileDialog::closeEvent(QCloseEvent* event)
{
    model_->stop();
    QDialog::closeEvent(event);
}

void ApplyProfileDialog::reject()
{
    model_->stop();
    QDialog::reject();
}

void ApplyProfileDialog::showRunning(bool running, bool reportReady)
{
    for (QWidget* input : std::initializer_list<QWidget*>{
             profilePath, profileBrowse, listFileChoice, listPath, listBrowse, pastedChoice,
             pastedLines, foundChoice, jobs, force, applyButton})
        input->setEnabled(!running);
    stopButton->setEnabled(running);
    saveReportButton->setEnabled(reportReady && !running);
}

void ApplyProfileDialog::showProgress(std::size_t done, std::size_t total)
{
    progress->setMaximum(int(std::max<std::size_t>(total, 1)));
    progress->setValue(int(done));
}

void ApplyProfileDialog::clearRows()
{
    table->setRowCount(0);
}

void ApplyProfileDialog::addRow(const std::array<std::string, 5>& cells)
{
    const int row = table->rowCount();
    table->insertRow(row);
    for (int column = 0; column < 5; ++column)
        table->setItem(row, column, new QTableWidgetItem(qText(cells[std::size_t(column)])));
    table->resizeColumnToContents(0);
    table->resizeColumnToContents(1);
    table->scrollToBottom();
}
