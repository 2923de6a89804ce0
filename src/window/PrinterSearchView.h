#pragma once

#include <cstddef>
#include <string>

// One printer in the search's list, as its three columns show it.
struct PrinterSearchRow {
    std::string address;       // as the window's address box takes it
    std::string makerAndModel; // empty when it did not say
    std::string state;         // "ready to print", or why not
};

// What the search dialog's model asks of a dialog on any toolkit.
class PrinterSearchView
{
public:
    virtual ~PrinterSearchView() = default;

    virtual void setRangesText(const std::string& text) = 0;
    virtual std::string rangesText() const = 0;
    virtual void setProgress(std::size_t tried, std::size_t total) = 0;
    virtual void setSummary(const std::string& text) = 0;
    virtual void clearRows() = 0;
    // Rows are in address order, whatever order the printers answer in.
    virtual void insertRow(std::size_t at, const PrinterSearchRow& row) = 0;
    // While a search runs: Find off, Stop on, the cursor busy; the dialog still answers.
    virtual void setSearching(bool searching) = 0;
    // Called from the search's own thread: the view has PrinterSearch::showProgress run on
    // its thread soon, and returns at once.
    virtual void wake() = 0;
};
