#include "DistanceCount.h"

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <locale.h>
#include <string>

namespace
{

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n';
}

bool isDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// The characters of the number, blanks dropped, as far as they form one.
class NumberScanner
{
public:
    explicit NumberScanner(QStringView text) : text_(text) {}

    std::string scan()
    {
        takeSign();
        const bool integerDigits = takeDigits();
        bool fractionDigits = false;
        if (peek() == u'.') {
            const qsizetype mark = position_;
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
    char16_t peek()
    {
        while (position_ < text_.size() && isBlank(text_[position_]))
            ++position_;
        return position_ < text_.size() ? text_[position_].unicode() : u'\0';
    }

    void advance()
    {
        number_.push_back(static_cast<char>(text_[position_].unicode()));
        ++position_;
    }

    void rewind(qsizetype position, std::size_t length)
    {
        position_ = position;
        number_.resize(length);
    }

    void takeSign()
    {
        if (peek() == u'+' || peek() == u'-')
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
        if (peek() != u'e' && peek() != u'E')
            return;
        const qsizetype mark = position_;
        const std::size_t length = number_.size();
        advance();
        takeSign();
        if (!takeDigits())
            rewind(mark, length);
    }

    QStringView text_;
    qsizetype position_ = 0;
    std::string number_;
};

double parseInCLocale(const std::string& number)
{
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    return strtod_l(number.c_str(), nullptr, cLocale);
}

} // namespace

namespace DistanceCount
{

double readDecimal(QStringView text)
{
    const std::string number = NumberScanner(text).scan();
    return number.empty() ? 0.0 : parseInCLocale(number);
}

std::optional<int> fromBoxText(QStringView text)
{
    // Times 8 is exact in binary, and nearbyint rounds halves to even.
    const double count = std::nearbyint(readDecimal(text) * 8.0);
    if (!(count >= 0.0 && count <= Largest))
        return std::nullopt;
    return static_cast<int>(count);
}

QString tokens(int count)
{
    const int low = count & 0xFF;
    const int high = count / 256;
    return QString::number(low, 16).toUpper() + u' ' + QString::number(high, 16).toUpper();
}

} // namespace DistanceCount
