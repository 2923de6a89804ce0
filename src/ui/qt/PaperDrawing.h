#pragma once

#include "PaperPreview.h"

#include <QWidget>

// The paper preview's picture on Qt: the paper to scale, its marks or label edges, each print
// start and cut, and a legend; it only draws the geometry it is given.
class PaperDrawing : public QWidget
{
    Q_OBJECT

public:
    explicit PaperDrawing(QWidget* parent = nullptr);

    void show(const PaperPreview::Geometry& geometry);
    const PaperPreview::Geometry& geometry() const { return geometry_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PaperPreview::Geometry geometry_;
};
