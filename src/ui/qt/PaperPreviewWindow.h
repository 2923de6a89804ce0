#pragma once

#include "PaperDrawing.h"
#include "PaperPreview.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <array>

// View ▸ Paper preview… on Qt: the paper's boxes, the values in words and the drawing. It follows
// the main window's distance boxes as they are typed, and the paper layout's values.
class PaperPreviewWindow : public QWidget
{
    Q_OBJECT

public:
    PaperPreviewWindow(const std::array<QLineEdit*, 6>& boxes, const PaperLayoutValues& layout,
                       QWidget* parent);

    QComboBox* source;
    QComboBox* paperKind;
    QLineEdit* pitch;
    QLineEdit* length;
    QLineEdit* paperWidth;
    QLabel* said; // the values in words, or the problem
    PaperDrawing* drawing;

private:
    void refresh();
    void followLayout();

    const PaperLayoutValues& layout_;
    PaperLayoutValues drawnLayout_;
    PaperPreview preview_;
    QTimer layoutWatch_;
};
