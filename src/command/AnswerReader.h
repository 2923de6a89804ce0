#pragma once

#include "AnswerShape.h"
#include "Deadline.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class PrinterSdk;

// Reads the printer's answers on an open port, one request at a time, each within its bound.
// What is not shaped like the answer awaited is skipped by its first byte and never taken
// for it: an automatic status block, XON and XOFF, a header block that answers something else,
// any other stray byte. A printer answers in order, so when an earlier request of the same
// shape went unanswered, its late answer comes first and is counted off, never taken.
class AnswerReader
{
public:
    // After the request is written.
    static constexpr int AnswerBoundMs = 1000;
    // A block longer than this has lost its end; its header is then a stray byte.
    static constexpr std::size_t LongestBlock = 1024;

    AnswerReader(PrinterSdk& sdk, std::int32_t handle);

    // The answer to the request just written, the whole block or byte; nothing when it did not
    // come within the bound, or the port failed.
    std::optional<std::string> await(const AnswerShape& shape);

    // Why reading failed, when the port itself failed; empty otherwise.
    const std::string& failure() const { return failure_; }

private:
    enum class Next { Answer, Skipped, Incomplete };
    Next takeNext(const AnswerShape& shape, std::string& answer);
    std::optional<std::string> nextAnswer(const AnswerShape& shape, const Deadline& until);
    bool readMore(const Deadline& until);
    int& unansweredBefore(const AnswerShape& shape);

    PrinterSdk& sdk_;
    std::int32_t handle_;
    std::string pending_; // read and not yet taken
    std::string failure_;
    std::vector<std::pair<AnswerShape, int>> unanswered_;
};
