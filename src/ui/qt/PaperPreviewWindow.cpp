#include "PaperPreviewWindow.h"

#include <QFormLayout>
#include <QVBoxLayout>

namespace
{

bool sameValues(const PaperLayoutValues& a, const PaperLayoutValues& b)
{
    return a.kind == b.kind && a.pitch == b.pitch && a.printStart == b.printStart &&
           a.cut == b.cut && a.bottom == b.bottom;
}

} // namespace

PaperPreviewWindow::PaperPreviewWindow(PaperPreview& preview, const PaperLayoutValues& layout,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window), source(new QComboBox(this)), paperKind(new QComboBox(this)),
      pitch(new QLineEdit(this)), length(new QLineEdit(this)), paperWidth(new QLineEdit(this)),
      said(new QLabel(this)), drawing(new PaperDrawing(this)), layout_(layout),
      drawnLayout_(layout), preview_(preview)
{
    setObjectName(QStringLiteral("paperPreview"));
    setWindowTitle(tr("Paper preview"));
    source->setObjectName(QStringLiteral("source"));
    source->addItems({tr("The window's boxes"), tr("The paper layout dialog")});
    paperKind->setObjectName(QStringLiteral("paperKind"));
    paperKind->addItems({tr("Plain"), tr("Black marks"), tr("Labels")});
    paperKind->setCurrentIndex(int(preview_.paper.kind));
    pitch->setObjectName(QStringLiteral("pitch"));
    pitch->setText(QString::fromStdString(preview_.paper.pitch));
    length->setObjectName(QStringLiteral("length"));
    length->setText(QString::fromStdString(preview_.paper.length));
    paperWidth->setObjectName(QStringLiteral("paperWidth"));
    paperWidth->setText(QString::fromStdString(preview_.paper.width));
    said->setObjectName(QStringLiteral("said"));
    said->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(tr("Values from"), source);
    form->addRow(tr("Paper"), paperKind);
    form->addRow(tr("Pitch (mm)"), pitch);
    form->addRow(tr("Mark length or gap (mm)"), length);
    form->addRow(tr("Width (mm)"), paperWidth);
    auto* column = new QVBoxLayout(this);
    column->addLayout(form);
    column->addWidget(said);
    column->addWidget(drawing, 1);

    connect(source, &QComboBox::currentIndexChanged, this, &PaperPreviewWindow::refresh);
    connect(paperKind, &QComboBox::currentIndexChanged, this, &PaperPreviewWindow::refresh);
    for (QLineEdit* box : {pitch, length, paperWidth})
        connect(box, &QLineEdit::textChanged, this, &PaperPreviewWindow::refresh);
    // The paper layout dialog edits the values in place: the preview looks at them often.
    connect(&layoutWatch_, &QTimer::timeout, this, &PaperPreviewWindow::followLayout);
    layoutWatch_.start(250);
    resize(520, 660);
    refresh();
}

void PaperPreviewWindow::followLayout()
{
    if (isVisible() && !sameValues(layout_, drawnLayout_))
        refresh();
}

void PaperPreviewWindow::refresh()
{
    drawnLayout_ = layout_;
    preview_.source = source->currentIndex() == 1 ? PaperPreview::Source::PaperLayoutDialog
                                                  : PaperPreview::Source::WindowBoxes;
    preview_.paper = {PaperRoll::Kind(paperKind->currentIndex()), pitch->text().toStdString(),
                      length->text().toStdString(), paperWidth->text().toStdString()};
    pitch->setEnabled(paperKind->currentIndex() != 0);
    length->setEnabled(paperKind->currentIndex() != 0);
    const PaperPreview::Geometry geometry = preview_.geometry();
    QStringList lines;
    for (const std::string& line : geometry.values)
        lines << QString::fromStdString(line);
    if (!geometry.problem.empty())
        lines << QString::fromStdString(geometry.problem);
    said->setText(lines.join(u'\n'));
    said->setStyleSheet(geometry.problem.empty() ? QString() : QStringLiteral("color: #c00000"));
    drawing->show(geometry);
}
