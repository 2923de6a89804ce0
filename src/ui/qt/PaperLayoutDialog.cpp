#include "PaperLayoutDialog.h"

#include "BusyCursor.h"
#include "DialogWidgets.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

PaperLayoutDialog::PaperLayoutDialog(PaperLayoutValues& values, PrinterSdk& sdk,
                                     UserMessages& messages, PortOfWindow port, QWidget* parent,
                                     PaperLayoutModel::SetHook whenSet)
    : QDialog(parent), model_(values, sdk, messages, std::move(whenSet)), port_(std::move(port))
{
    setObjectName(QStringLiteral("PaperLayoutDialog"));
    setWindowTitle(qText(PaperLayoutModel::Title));
    auto* form = new QFormLayout;
    kind = new QComboBox(this);
    kind->setObjectName(QStringLiteral("kind"));
    for (PaperLayout::Kind entry : PaperLayoutModel::Kinds)
        kind->addItem(qText(PaperLayoutModel::kindCaption(entry)));
    form->addRow(tr("&Paper:"), kind);
    const char* const keys[] = {
        "P&itch (mm):", "Print &start (mm):", "&Cut (mm):", "&Bottom (mm):"};
    for (std::size_t i = 0; i < distances.size(); ++i) {
        const PaperLayout::Field field = PaperLayoutModel::Distances[i];
        QLineEdit* box = distances[i] = new QLineEdit(qText(model_.text(field)), this);
        box->setObjectName(qText(PaperLayout::fieldKey(field)));
        form->addRow(QString::fromUtf8(keys[i]), box);
        connect(box, &QLineEdit::textEdited, this,
                [this, field](const QString& text) { model_.text(field) = text.toStdString(); });
    }
    keepAfterPowerOff = new QCheckBox(tr("&Keep after power-off"), this);
    keepAfterPowerOff->setObjectName(QStringLiteral("keepAfterPowerOff"));
    keepAfterPowerOff->setChecked(values.keepAfterPowerOff);
    form->addRow(keepAfterPowerOff);
    connect(keepAfterPowerOff, &QCheckBox::toggled, this,
            [this](bool on) { model_.values().keepAfterPowerOff = on; });

    set = dialogButton("S&et", "set", this);
    readBack = dialogButton("&Read back", "readBack", this);
    testPrint = dialogButton("&Test print", "testPrint", this);
    testCut = dialogButton("Test c&ut", "testCut", this);
    QPushButton* close = dialogButton("Cl&ose", "close", this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* each : {set, readBack, testPrint, testCut, close})
        buttons->addWidget(each);
    connect(set, &QPushButton::clicked, this, [this] { run(&PaperLayoutModel::set); });
    connect(readBack, &QPushButton::clicked, this, [this] { run(&PaperLayoutModel::readBack); });
    connect(testPrint, &QPushButton::clicked, this, [this] { run(&PaperLayoutModel::testPrint); });
    connect(testCut, &QPushButton::clicked, this, [this] { run(&PaperLayoutModel::testCut); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    status = new QLabel(this);
    status->setObjectName(QStringLiteral("status"));
    status->setWordWrap(true);
    auto* all = new QVBoxLayout(this);
    all->addLayout(form);
    all->addLayout(buttons);
    all->addWidget(status);

    const auto at =
        std::find(PaperLayoutModel::Kinds.begin(), PaperLayoutModel::Kinds.end(), values.kind);
    kind->setCurrentIndex(int(at - PaperLayoutModel::Kinds.begin()));
    connect(kind, &QComboBox::currentIndexChanged, this, [this](int index) {
        model_.values().kind = PaperLayoutModel::Kinds[std::size_t(index)];
        showKind();
    });
    showKind();
}

void PaperLayoutDialog::showKind()
{
    for (std::size_t i = 0; i < distances.size(); ++i)
        distances[i]->setEnabled(
            PaperLayoutModel::takes(model_.values().kind, PaperLayoutModel::Distances[i]));
}

void PaperLayoutDialog::run(bool (PaperLayoutModel::*action)(const PortSettings&))
{
    {
        BusyCursor busy;
        (model_.*action)(port_());
    }
    status->setText(QString::fromStdString(model_.status()));
}
