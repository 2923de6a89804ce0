#include "ipBox.h"

#include "DefaultNetworkAddress.h"
#include "IpAddressEntry.h"

#include <QFontDatabase>
#include <QVariant>

const QString ipBox::AddressFormatDescription =
    QString::fromUtf8("Ip 地址格式错误\r\n正确的格式应该为: 255.255.255.255");

namespace
{

constexpr qsizetype LongestCountedText = 16383;

// One part of the address as a byte: blanks around it ignored, decimal digits with an
// optional sign, leading zeros allowed.
quint8 addressPartByte(const QString& part)
{
    const QStringView number = QStringView(part).trimmed();
    qsizetype digitsFrom = 0;
    bool negative = false;
    if (!number.isEmpty() && (number[0] == u'+' || number[0] == u'-')) {
        negative = number[0] == u'-';
        digitsFrom = 1;
    }
    const QStringView digits = number.sliced(digitsFrom);
    if (digits.isEmpty())
        throw IpBoxError(IpBoxError::TypeMismatch, QStringLiteral("Type mismatch"));
    int value = 0;
    bool overflow = false;
    for (QChar c : digits) {
        if (c < u'0' || c > u'9')
            throw IpBoxError(IpBoxError::TypeMismatch, QStringLiteral("Type mismatch"));
        value = value * 10 + (c.unicode() - u'0');
        if (value > 255) {
            overflow = true;
            value = 256; // keeps reading, so that a later non-digit is still a type mismatch
        }
    }
    if (overflow || (negative && value != 0))
        throw IpBoxError(IpBoxError::Overflow, QStringLiteral("Overflow"));
    return static_cast<quint8>(value);
}

QSize innerPixels(const QWidget& control)
{
    return control.contentsRect().size();
}

} // namespace

ipBox::ipBox(QWidget* parent, Child child) : QWidget(parent)
{
    resize(132, 19); // 1980 by 285 twips
    UserControl_Initialize(child);
}

void ipBox::UserControl_Initialize(Child child)
{
    if (child == Child::Create)
        CreateTextBox();
    setAddress(DefaultNetworkAddress);
}

void ipBox::CreateTextBox()
{
    hIPWnd = new IpAddressEntry(this);
    hIPWnd->setGeometry(QRect(QPoint(0, 0), innerPixels(*this)));
    hIPWnd->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    hIPWnd->show();
    setFocusProxy(hIPWnd);
}

void ipBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    UserControl_Resize();
}

void ipBox::UserControl_Resize()
{
    if (hIPWnd)
        hIPWnd->setGeometry(QRect(QPoint(0, 0), innerPixels(*this)));
}

QVariant ipBox::CountIF(const QString& lzExpr, const QString& nChar) const
{
    if (lzExpr.isEmpty())
        return QVariant::fromValue<qint16>(0);
    if (nChar.isEmpty())
        throw IpBoxError(IpBoxError::InvalidArgument,
                         QStringLiteral("Invalid procedure call or argument"));
    if (lzExpr.size() > LongestCountedText)
        throw IpBoxError(IpBoxError::Overflow, QStringLiteral("Overflow"));
    // Whole characters are compared, so no other character can pass for the key.
    return QVariant::fromValue<qint16>(static_cast<qint16>(lzExpr.count(nChar.at(0))));
}

QString ipBox::GetAddressText() const
{
    const quint32 v = hIPWnd ? hIPWnd->packedAddress() : 0;
    const quint8 b[4] = {quint8(v), quint8(v >> 8), quint8(v >> 16), quint8(v >> 24)};
    return QStringLiteral("%1.%2.%3.%4").arg(b[3]).arg(b[2]).arg(b[1]).arg(b[0]);
}

QString ipBox::Address() const
{
    return GetAddressText();
}

void ipBox::setAddress(const QString& NewIP)
{
    if (CountIF(NewIP, QStringLiteral(".")).value<qint16>() < 3)
        throw IpBoxError(IpBoxError::AddressFormat, AddressFormatDescription);
    const QStringList p = NewIP.split(u'.');
    if (p.size() < 4)
        throw IpBoxError(IpBoxError::IndexOutOfRange, QStringLiteral("Subscript out of range"));
    // Converted from the last part to the first; parts after the fourth are ignored.
    const quint8 b[4] = {addressPartByte(p[3]), addressPartByte(p[2]), addressPartByte(p[1]),
                         addressPartByte(p[0])};
    const quint32 v = quint32(b[3]) << 24 | quint32(b[2]) << 16 | quint32(b[1]) << 8 | b[0];
    if (hIPWnd)
        hIPWnd->setPackedAddress(v);
}
