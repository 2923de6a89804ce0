#pragma once

#include <map>
#include <string>
#include <variant>

// One port of this machine, named by the port text that the window and --port take.
struct ListedPort {
    std::string portText; // "COM1", "COM /dev/ttyUSB0", "LPT /dev/usb/lp0", "DRIVER"
    std::string kind;     // "serial line", "parallel port", "USB printer", "printer queue"
    std::string device;   // the device path, or the queue's device URI
    std::string driver;   // the queue's name, for DRIVER
    std::string description;
    std::string usbVendorId, usbProductId; // four hex digits each, or empty
    std::string ieee1284Id;                // the printer's "MFG:...;MDL:...;", or empty
    bool busy = false;
    std::string holder; // which process holds it, when known
    std::string state;  // a queue's state

    // One line: the port text first, then what it is.
    std::string line() const;
    // Its fields by name, those that are empty left out.
    using Field = std::variant<std::string, bool>;
    std::map<std::string, Field> fields() const;
};
