#pragma once

#include "MessageBoxMessages.h"
#include "PrinterSearch.h"
#include "PrinterSearchView.h"

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>

// Printer ▸ Find printers on the network… on Qt: the search's controls, with their events
// handed to its model, and its progress brought onto the dialog's thread.
class PrinterSearchDialog : public QDialog, public PrinterSearchView
{
    Q_OBJECT

public:
    // The raw printing port of every address, asked with the probe's bounds.
    static PrinterSearch::Settings networkSettings();

    PrinterSearchDialog(FrmTestModel& window, PrinterSearch::Settings settings,
                        PrinterSearch::OwnAddresses ownAddresses, QWidget* parent = nullptr);
    ~PrinterSearchDialog() override;

    void done(int result) override;

    QLineEdit* ranges;
    QPushButton* findButton;
    QPushButton* stopButton;
    QProgressBar* progress;
    QLabel* summary;
    QTreeWidget* printers;
    QPushButton* useButton;
    QPushButton* closeButton;

private:
    void setRangesText(const std::string& text) override;
    std::string rangesText() const override;
    void setProgress(std::size_t tried, std::size_t total) override;
    void setSummary(const std::string& text) override;
    void clearRows() override;
    void insertRow(std::size_t at, const PrinterSearchRow& row) override;
    void setSearching(bool searching) override;
    void wake() override;

    void createControls();
    void chooseCurrent();

    MessageBoxMessages messages_;
    PrinterSearch search_;
};
