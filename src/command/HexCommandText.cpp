#include "HexCommandText.h"

namespace
{

constexpr QChar Space = u' ';

void trimSpaces(QString& text)
{
    qsizetype first = 0;
    qsizetype end = text.size();
    while (first < end && text.at(first) == Space)
        ++first;
    while (end > first && text.at(end - 1) == Space)
        --end;
    if (first != 0 || end != text.size())
        text = text.mid(first, end - first);
}

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9')
        return u - u'0';
    if (u >= u'a' && u <= u'f')
        return u - u'a' + 10;
    if (u >= u'A' && u <= u'F')
        return u - u'A' + 10;
    return -1;
}

QString describeCharacter(QChar c)
{
    if (c.isPrint() && !c.isSpace())
        return QStringLiteral("\"%1\"").arg(c);
    return QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
}

// Token numbers in messages count from 1, as a person counts them.
QString refuseToken(qsizetype tokenNumber, QStringView token, const QString& why)
{
    return QStringLiteral("token %1 \"%2\" %3").arg(tokenNumber).arg(token).arg(why);
}

// The value of one token, or a refusal.
int tokenValue(QStringView token, qsizetype tokenNumber, QString& refusal)
{
    int value = 0;
    for (QChar c : token) {
        const int digit = hexDigitValue(c);
        if (digit < 0) {
            refusal = refuseToken(
                tokenNumber, token,
                QStringLiteral("has %1, which is not a hex digit").arg(describeCharacter(c)));
            return -1;
        }
        value = value * 16 + digit;
        if (value > 0xFF) {
            refusal = refuseToken(tokenNumber, token, QStringLiteral("is above FF"));
            return -1;
        }
    }
    return value;
}

HexEncoding refused(const QString& why)
{
    return {QByteArray(), why};
}

} // namespace

HexEncoding encodeHexCommandText(QString& text)
{
    trimSpaces(text);
    if (text.isEmpty())
        return refused(QStringLiteral("no tokens"));
    HexEncoding result;
    const QStringView whole(text);
    qsizetype tokenStart = 0;
    qsizetype tokenNumber = 0;
    result.bytes.reserve(whole.size() / 2 + 1);
    while (tokenStart <= whole.size()) {
        qsizetype tokenEnd = whole.indexOf(Space, tokenStart);
        if (tokenEnd < 0)
            tokenEnd = whole.size();
        ++tokenNumber;
        if (tokenNumber > MaxHexCommandTokens)
            return refused(QStringLiteral("more than %1 tokens").arg(MaxHexCommandTokens));
        const QStringView token = whole.sliced(tokenStart, tokenEnd - tokenStart);
        if (token.isEmpty())
            return refused(QStringLiteral("empty token after token %1").arg(tokenNumber - 1));
        QString why;
        const int value = tokenValue(token, tokenNumber, why);
        if (value < 0)
            return refused(why);
        result.bytes.append(static_cast<char>(value));
        tokenStart = tokenEnd + 1;
    }
    return result;
}
