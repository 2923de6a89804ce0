#pragma once

#include <QString>

// What the window's four port controls show at the moment of a press.
struct PortSettings {
    QString portText;       // Combo1
    QString networkAddress; // Text1
    QString driverName;     // Combo2
    QString baudRateText;   // Combo3
};
