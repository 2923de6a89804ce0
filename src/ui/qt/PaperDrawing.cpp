#include "PaperDrawing.h"

#include <QPainter>
#include <algorithm>

namespace
{

constexpr int Border = 10;
const QColor MarkBlack(0, 0, 0), EdgeGrey(160, 160, 160), StartBlue(0, 0, 255), CutRed(255, 0, 0);

} // namespace

PaperDrawing::PaperDrawing(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("paperDrawing"));
    setMinimumSize(360, 400);
}

void PaperDrawing::show(const PaperPreview::Geometry& geometry)
{
    geometry_ = geometry;
    update();
}

void PaperDrawing::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const PaperPreview::Geometry& g = geometry_;
    if (!g.problem.empty() || g.length <= 0)
        return;
    // Dots to pixels: the whole stretch fits the height, the paper half the width at most.
    const PaperRoll& roll = g.roll;
    const double zoom = std::min(double(height() - 2 * Border) / g.length,
                                 double(width()) * 0.55 / roll.widthDots());
    const auto x = [zoom](int dots) { return Border + dots * zoom; };
    const auto y = [zoom](int dots) { return Border + dots * zoom; };
    const int margin = roll.leftMarginDots();
    painter.fillRect(QRectF(x(0), y(0), roll.widthDots() * zoom, g.length * zoom), Qt::white);
    for (const PaperRoll::Span& mark : g.marks) {
        if (roll.kind == PaperRoll::Kind::BlackMark) {
            painter.fillRect(
                QRectF(x(0), y(mark.from), margin * zoom, (mark.to - mark.from) * zoom), MarkBlack);
        } else {
            painter.setPen(QPen(EdgeGrey, 1));
            painter.drawLine(QPointF(x(0), y(mark.from)),
                             QPointF(x(roll.widthDots()), y(mark.from)));
            painter.drawLine(QPointF(x(0), y(mark.to)), QPointF(x(roll.widthDots()), y(mark.to)));
        }
    }
    for (const int at : g.printStarts)
        painter.fillRect(QRectF(x(roll.widthDots() - margin + 4), y(at), (margin - 4) * zoom,
                                std::max(3.0, 3 * zoom)),
                         StartBlue);
    painter.setPen(QPen(CutRed, 2));
    for (const int at : g.cuts)
        painter.drawLine(QPointF(x(0), y(at)), QPointF(x(roll.widthDots()), y(at)));
    painter.setPen(QPen(EdgeGrey, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(x(0), y(0), roll.widthDots() * zoom, g.length * zoom));

    // The legend, beside the paper.
    const int left = int(x(roll.widthDots())) + 2 * Border;
    int line = Border;
    const auto entry = [&](const QColor& colour, bool box, const QString& words) {
        if (box)
            painter.fillRect(QRect(left, line + 3, 14, 10), colour);
        else
            painter.fillRect(QRect(left, line + 7, 14, 3), colour);
        painter.setPen(palette().windowText().color());
        painter.drawText(QPoint(left + 20, line + 12), words);
        line += 20;
    };
    if (roll.kind == PaperRoll::Kind::BlackMark)
        entry(MarkBlack, true, tr("black mark"));
    else if (roll.kind == PaperRoll::Kind::Label)
        entry(EdgeGrey, false, tr("label edge"));
    entry(StartBlue, false, tr("print start"));
    entry(CutRed, false, tr("cut"));
    painter.setPen(palette().windowText().color());
    painter.drawText(QRect(left, line + 4, width() - left - Border, 80), Qt::TextWordWrap,
                     tr("%1 labels, each found after its mark, printed one line and cut; "
                        "%2 mm shown.")
                         .arg(PaperPreview::Labels)
                         .arg(g.length / DotsPerMm));
}
