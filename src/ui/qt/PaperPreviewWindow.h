#pragma once

#include "PaperDrawing.h"
#include "PaperPreview.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>

// View ▸ Paper preview… on Qt: the paper's boxes, the values in words and the drawing. The main
// window has it drawn again as its distance boxes are typed; it follows the paper layout's values.
class PaperPreviewWindow : public QWidget
{
    Q_OBJECT

public:
    PaperPreviewWindow(PaperPreview& preview, const PaperLayoutValues& layout, QWidget* parent);

    // Draws again what the window's boxes and the paper's boxes say now.
    void refresh();

    QComboBox* source;
    QComboBox* paperKind;
    QLineEdit* pitch;
    QLineEdit* length;
    QLineEdit* paperWidth;
    QLabel* said; // the values in words, or the problem
    PaperDrawing* drawing;

private:
    void followLayout();

    const PaperLayoutValues& layout_;
    PaperLayoutValues drawnLayout_;
    PaperPreview& preview_;
    QTimer layoutWatch_;
};
