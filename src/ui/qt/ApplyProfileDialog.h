#pragma once

#include "ApplyProfileModel.h"
#include "ApplyProfileView.h"
#include "DialogFileChooser.h"
#include "MessageBoxMessages.h"

#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <optional>

// File ▸ Apply a profile to printers… on Qt: the apply dialog's model, its controls placed
// and their events handed to it; the run's news come back on the window's thread.
class ApplyProfileDialog : public QDialog, public ApplyProfileView
{
    Q_OBJECT

public:
    ApplyProfileDialog(FleetRun::SdkMaker makeSdk, std::vector<std::string> found, QWidget* parent);
    ~ApplyProfileDialog() override;

    QLineEdit* profilePath;
    QPushButton* profileBrowse;
    QRadioButton* listFileChoice;
    QLineEdit* listPath;
    QPushButton* listBrowse;
    QRadioButton* pastedChoice;
    QPlainTextEdit* pastedLines;
    QRadioButton* foundChoice;
    QLineEdit* jobs;
    QCheckBox* force;
    QPushButton* applyButton;
    QPushButton* stopButton;
    QProgressBar* progress;
    QTableWidget* table;
    QPushButton* saveReportButton;
    QPushButton* closeButton;

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void showRunning(bool running, bool reportReady) override;
    void showProgress(std::size_t done, std::size_t total) override;
    void clearRows() override;
    void addRow(const std::array<std::string, 5>& cells) override;

    void createControls(std::size_t foundCount);
    void connectControls();
    ApplyProfileModel::Request request() const;

    MessageBoxMessages messages_;
    DialogFileChooser files_;
    std::optional<ApplyProfileModel> model_;
};
