#pragma once

#include "IpBoxError.h"

#include <QWidget>

class IpAddressEntry;

// A control for entering an IPv4 address, as dotted decimal text through Address. The
// address lives in its child entry, which always covers the control; the control itself
// keeps nothing else.
class ipBox : public QWidget
{
    Q_OBJECT

public:
    // Child::None stands for a control whose child could not be created.
    enum class Child { Create, None };

    explicit ipBox(QWidget* parent = nullptr, Child child = Child::Create);

    // How often the first character of nChar stands in lzExpr. Throws IpBoxError: 5 when
    // nChar is empty and lzExpr is not, 6 when lzExpr has 16,384 characters or more.
    QVariant CountIF(const QString& lzExpr, const QString& nChar) const;

    // Makes a new child over the whole control; an earlier child stays where it is, unused.
    void CreateTextBox();

    QString Address() const;
    // Throws IpBoxError: 102 with fewer than three dots, 13 or 6 from the first of the
    // parts 4, 3, 2, 1 that is not a number from 0 to 255. The child is then left as it was.
    void setAddress(const QString& NewIP);

    IpAddressEntry* hIPWnd = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void UserControl_Initialize(Child child);
    void UserControl_Resize();
    QString GetAddressText() const;
};
