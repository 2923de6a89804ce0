#include "PortKind.h"

#include "PrinterSdk.h"

namespace
{

struct KindPrefix {
    const char* prefix;
    PortKind kind;
};

// Tested in this order; the first match wins.
constexpr KindPrefix kindPrefixes[] = {
    {"ETH", PortKind::Network},
    {"COM", PortKind::Serial},
    {"LPT", PortKind::Parallel},
    {"DRI", PortKind::Driver},
};

qint32 decimalBaudRate(const QString& text)
{
    bool ok = false;
    const qint32 rate = text.toInt(&ok, 10);
    return ok ? rate : 0;
}

} // namespace

PortKind portKindOf(const QString& portText)
{
    const QStringView firstThree = QStringView(portText).left(3);
    for (const KindPrefix& entry : kindPrefixes) {
        if (firstThree == QLatin1String(entry.prefix))
            return entry.kind;
    }
    return PortKind::None;
}

std::optional<OpenArguments> openArgumentsFor(const PortSettings& settings)
{
    switch (portKindOf(settings.portText)) {
    case PortKind::Network:
        return OpenArguments{settings.networkAddress.toLocal8Bit(), 0, 0, 0, 0, OpenMode::Network};
    case PortKind::Serial:
        return OpenArguments{settings.portText.toLocal8Bit(),
                             decimalBaudRate(settings.baudRateText),
                             8,
                             0,
                             0,
                             OpenMode::Serial};
    case PortKind::Parallel:
        return OpenArguments{settings.portText.toLocal8Bit(), 0, 0, 0, 0,
                             OpenMode::ParallelOrUsbDevice};
    case PortKind::Driver:
        return OpenArguments{settings.driverName.toLocal8Bit(), 0, 0, 0, 0, OpenMode::PrinterQueue};
    case PortKind::None:
        break;
    }
    return std::nullopt;
}

std::optional<ParameterControlsEnabled> parameterControlsFor(const QString& portText)
{
    switch (portKindOf(portText)) {
    case PortKind::Network:
        return ParameterControlsEnabled{true, false, false};
    case PortKind::Serial:
        return ParameterControlsEnabled{false, false, true};
    case PortKind::Parallel:
        return ParameterControlsEnabled{false, false, false};
    case PortKind::Driver:
        return ParameterControlsEnabled{false, true, false};
    case PortKind::None:
        break;
    }
    return std::nullopt;
}
