#pragma once

#include <string>

// What the window's four port controls show at the moment of a press.
struct PortSettings {
    std::string portText;       // Combo1
    std::string networkAddress; // Text1
    std::string driverName;     // Combo2
    std::string baudRateText;   // Combo3
};
