#include "ipBox.h"

#include "DefaultNetworkAddress.h"
#include "IpAddressEntry.h"
#include "IpAddressRules.h"

#include <QFontDatabase>
#include <QVariant>

namespace
{

QSize innerPixels(const QWidget& control)
{
    return control.contentsRect().size();
}

std::u16string_view utf16(const QString& text)
{
    return {reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())};
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
    setAddress(QString::fromUtf8(DefaultNetworkAddress.data(), DefaultNetworkAddress.size()));
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
    return QVariant::fromValue<qint16>(IpAddressRules::countOf(utf16(lzExpr), utf16(nChar)));
}

QString ipBox::GetAddressText() const
{
    return QString::fromStdString(IpAddressRules::dotted(hIPWnd ? hIPWnd->packedAddress() : 0));
}

QString ipBox::Address() const
{
    return GetAddressText();
}

void ipBox::setAddress(const QString& NewIP)
{
    const quint32 v = IpAddressRules::packedAddress(utf16(NewIP));
    if (hIPWnd)
        hIPWnd->setPackedAddress(v);
}
