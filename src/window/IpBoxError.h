#pragma once

#include <stdexcept>
#include <string>

// A numbered error that a member of ipBox reports to its caller.
class IpBoxError : public std::runtime_error
{
public:
    IpBoxError(int number, const std::string& description)
        : std::runtime_error(description), number_(number)
    {
    }

    int number() const { return number_; }
    std::string description() const { return what(); }

    static constexpr int InvalidArgument = 5;
    static constexpr int Overflow = 6;
    static constexpr int IndexOutOfRange = 9;
    static constexpr int TypeMismatch = 13;
    static constexpr int AddressFormat = 102;

    static constexpr const char* AddressFormatDescription =
        "Ip 地址格式错误\r\n正确的格式应该为: 255.255.255.255";

private:
    int number_;
};
