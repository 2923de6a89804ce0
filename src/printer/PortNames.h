#pragma once

#include <QString>
#include <QtGlobal>

// How the names that reach POS_Open are read.
namespace PortNames
{

constexpr quint16 RawPrintingPort = 9100;

struct NetworkAddress {
    QString host;
    quint16 port = RawPrintingPort;
    QString refusal; // empty when the text was read

    // As a person writes it back: 10.0.0.5:9100, [::1]:9100, printer.local:9100.
    QString display() const;
};

// An IPv4 address or host name with an optional ":port", or an IPv6 address, in brackets
// when a port follows.
NetworkAddress readNetworkAddress(const QString& text);

// What a listener takes: the same, or a bare port number, which listens on loopback.
NetworkAddress readListenAddress(const QString& text);

struct DevicePath {
    QString path;
    QString refusal;
};

// "COMn" is the n-th serial port, /dev/ttyS(n-1); "COM" then a device path opens that path.
DevicePath serialDevicePath(const QString& portText);
// "LPTn" is /dev/lp(n-1); "LPT" then a device path opens that path.
DevicePath parallelDevicePath(const QString& portText);

} // namespace PortNames
