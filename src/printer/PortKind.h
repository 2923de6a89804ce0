#pragma once

#include "PortSettings.h"

#include <QByteArray>
#include <QString>
#include <optional>

enum class PortKind { None, Network, Serial, Parallel, Driver };

// The kind is chosen by the first three characters of the port text, exactly as typed.
PortKind portKindOf(const QString& portText);

// The six POS_Open arguments for one kind of port.
struct OpenArguments {
    QByteArray name;
    qint32 baudRate = 0;
    qint32 dataBits = 0;
    qint32 stopBits = 0;
    qint32 parity = 0;
    qint32 openMode = 0;

    bool operator==(const OpenArguments&) const = default;
};

// Empty for a port text without a kind.
std::optional<OpenArguments> openArgumentsFor(const PortSettings& settings);

// The enabled states of the three parameter controls that a port text asks for.
struct ParameterControlsEnabled {
    bool networkAddress = true; // Text1
    bool driver = true;         // Combo2
    bool baudRate = true;       // Combo3

    bool operator==(const ParameterControlsEnabled&) const = default;
};

// Empty means "leave the three states as they are".
std::optional<ParameterControlsEnabled> parameterControlsFor(const QString& portText);
