#include "AnswerReader.h"

#include "PrinterSdk.h"

namespace
{

constexpr std::uint8_t Xon = 0x11;
constexpr std::uint8_t Xoff = 0x13;
constexpr std::size_t StatusBlockBytes = 4;

bool isStatusBlockStart(std::uint8_t byte)
{
    return (byte & 0x93) == 0x10; // 0xx1xx00
}

bool isBlockHeader(std::uint8_t byte)
{
    return byte == 0x37 || byte == 0x3B || byte == 0x3D || byte == 0x5F;
}

} // namespace

AnswerReader::AnswerReader(PrinterSdk& sdk, std::int32_t handle) : sdk_(sdk), handle_(handle) {}

int& AnswerReader::unansweredBefore(const AnswerShape& shape)
{
    for (auto& [known, count] : unanswered_) {
        if (known == shape)
            return count;
    }
    return unanswered_.emplace_back(shape, 0).second;
}

std::optional<std::string> AnswerReader::await(const AnswerShape& shape)
{
    const Deadline until(AnswerBoundMs);
    int& earlier = unansweredBefore(shape);
    // Answers come in order: each earlier one first, then this one.
    std::optional<std::string> answer;
    int taken = 0;
    while (taken <= earlier) {
        answer = nextAnswer(shape, until);
        if (!answer)
            break;
        ++taken;
    }
    if (taken == earlier + 1) {
        earlier = 0;
        return answer;
    }
    // Whether or not one of those was this one's, as many answers may still come late.
    earlier = earlier + 1 - taken;
    return std::nullopt;
}

std::optional<std::string> AnswerReader::nextAnswer(const AnswerShape& shape, const Deadline& until)
{
    for (;;) {
        std::string answer;
        switch (pending_.empty() ? Next::Incomplete : takeNext(shape, answer)) {
        case Next::Answer:
            return answer;
        case Next::Skipped:
            break;
        case Next::Incomplete:
            if (!readMore(until))
                return std::nullopt;
            break;
        }
    }
}

// Looks at what starts the bytes read so far: the answer, something to skip (gone from the
// bytes then), or the start of something whose rest has not come yet.
AnswerReader::Next AnswerReader::takeNext(const AnswerShape& shape, std::string& answer)
{
    const auto first = static_cast<std::uint8_t>(pending_[0]);
    const auto take = [&](std::size_t count, Next next) {
        if (next == Next::Answer)
            answer = pending_.substr(0, count);
        pending_.erase(0, count);
        return next;
    };
    if (shape.kind == AnswerShape::Kind::Byte && (first & shape.mask) == shape.value)
        return take(1, Next::Answer);
    if (isStatusBlockStart(first))
        return pending_.size() < StatusBlockBytes ? Next::Incomplete
                                                  : take(StatusBlockBytes, Next::Skipped);
    if (first == Xon || first == Xoff || !isBlockHeader(first))
        return take(1, Next::Skipped);
    const bool ours = shape.kind == AnswerShape::Kind::Block &&
                      pending_.compare(0, shape.start.size(), shape.start) == 0;
    const std::size_t end = ours && shape.length > 0 ? shape.length - 1 : pending_.find('\0', 1);
    if (end == std::string::npos || end >= pending_.size())
        return pending_.size() > LongestBlock ? take(1, Next::Skipped) : Next::Incomplete;
    if (ours && pending_[end] != '\0') // a fixed-length block must end in its NUL
        return take(1, Next::Skipped);
    return take(end + 1, ours ? Next::Answer : Next::Skipped);
}

bool AnswerReader::readMore(const Deadline& until)
{
    if (!failure_.empty())
        return false;
    char bytes[256];
    const std::int32_t count = sdk_.POS_ReadFile(handle_, bytes, sizeof bytes, until.remainingMs());
    if (count < 0)
        failure_ = sdk_.lastFailure();
    if (count <= 0)
        return false;
    pending_.append(bytes, std::size_t(count));
    return true;
}
