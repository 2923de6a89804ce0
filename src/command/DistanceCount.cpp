#include "DistanceCount.h"

#include "UnicodeText.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The characters of the number, blanks dropped, as far as they form one.
class NumberScanner
{
public:
    explicit NumberScanner(std::string_view text) : text_(text) {}

    std::string scan()
    {
        takeSign();
        const bool integerDigits = takeDigits();
        bool fractionDigits = false;
        if (peek() == '.') {
            const std::size_t mark = position_;
            const std::size_t length = number_.size();
            advance();
            fractionDigits = takeDigits();
            if (!integerDigits && !fractionDigits)
                rewind(mark, length);
        }
        if (!integerDigits && !fractionDigits)
            return {};
        takeExponent();
        return number_;
    }

private:
    char peek()
    {
        while (position_ < text_.size() && isBlank(text_[position_]))
            ++position_;
        return position_ < text_.size() ? text_[position_] : '\0';
    }

    void advance() { number_.push_back(text_[position_++]); }

    void rewind(std::size_t position, std::size_t length)
    {
        position_ = position;
        number_.resize(length);
    }

    void takeSign()
    {
        if (peek() == '+' || peek() == '-')
            advance();
    }

    bool takeDigits()
    {
        bool any = false;
        while (isDigit(peek())) {
            advance();
            any = true;
        }
        return any;
    }

    // An exponent without digits is not part of the number: "1e" reads as 1.
    void takeExponent()
    {
        if (peek() != 'e' && peek() != 'E')
            return;
        const std::size_t mark = position_;
        const std::size_t length = number_.size();
        advance();
        takeSign();
        if (!takeDigits())
            rewind(mark, length);
    }

    std::string_view text_;
    std::size_t position_ = 0;
    std::string number_;
};

// Where the first significant digit of a number without its sign stands against the decimal
// point: 1 for 1.5, -2 for 0.005, counting the exponent. Tells overflow from underflow.
long long decimalMagnitude(std::string_view number)
{
    const std::size_t e = number.find_first_of("eE");
    const std::string_view mantissa = number.substr(0, e);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = number.substr(e + 1);
        const bool negative = digits.starts_with('-');
        if (!digits.empty() && (digits[0] == '+' || digits[0] == '-'))
            digits.remove_prefix(1);
        for (char c : digits)
            exponent = std::min<long long>(exponent * 10 + (c - '0'), 1'000'000'000);
        exponent = negative ? -exponent : exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return std::numeric_limits<long long>::min();
    return exponent +
           (first < point ? (long long)(point - first) : -(long long)(first - point - 1));
}

double parse(std::string_view number)
{
    const bool negative = number.starts_with('-');
    if (!number.empty() && (number[0] == '+' || number[0] == '-'))
        number.remove_prefix(1);
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (error == std::errc::result_out_of_range)
        value = decimalMagnitude(number) > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    return negative ? -value : value;
}

} // namespace

namespace DistanceCount
{

double readDecimal(std::string_view text)
{
    const std::string number = NumberScanner(text).scan();
    return number.empty() ? 0.0 : parse(number);
}

std::optional<int> fromBoxText(std::string_view text)
{
    // Times 8 is exact in binary, and nearbyint rounds halves to even.
    const double count = std::nearbyint(readDecimal(text) * 8.0);
    if (!(count >= 0.0 && count <= Largest))
        return std::nullopt;
    return static_cast<int>(count);
}

std::string tokens(int count)
{
    const int low = count & 0xFF;
    const int high = count / 256;
    return UnicodeText::hex(std::uint32_t(low)) + " " + UnicodeText::hex(std::uint32_t(high));
}

} // namespace DistanceCount
