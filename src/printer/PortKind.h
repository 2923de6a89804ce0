#pragma once

#include "PortSettings.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class PortKind { None, Network, Serial, Parallel, Driver };

// The kind is chosen by the first three characters of the port text, exactly as typed.
PortKind portKindOf(std::string_view portText);

// The six POS_Open arguments for one kind of port.
struct OpenArguments {
    std::string name;
    std::int32_t baudRate = 0;
    std::int32_t dataBits = 0;
    std::int32_t stopBits = 0;
    std::int32_t parity = 0;
    std::int32_t openMode = 0;

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
std::optional<ParameterControlsEnabled> parameterControlsFor(std::string_view portText);

// " Did you mean \"COM1\"?" for a port text of no kind that is a near miss; empty otherwise.
std::string nearMissSuggestion(std::string_view portText);
