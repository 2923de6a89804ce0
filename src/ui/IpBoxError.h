#pragma once

#include <QString>
#include <stdexcept>

// A numbered error that a member of ipBox reports to its caller.
class IpBoxError : public std::runtime_error
{
public:
    IpBoxError(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description)
    {
    }

    int number() const { return number_; }
    const QString& description() const { return description_; }

    static constexpr int InvalidArgument = 5;
    static constexpr int Overflow = 6;
    static constexpr int IndexOutOfRange = 9;
    static constexpr int TypeMismatch = 13;
    static constexpr int AddressFormat = 102;

    static inline const QString AddressFormatDescription =
        QString::fromUtf8("Ip 地址格式错误\r\n正确的格式应该为: 255.255.255.255");

private:
    int number_;
    QString description_;
};
