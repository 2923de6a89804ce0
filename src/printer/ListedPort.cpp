#include "ListedPort.h"

#include <vector>

std::string ListedPort::line() const
{
    std::vector<std::string> details;
    for (const std::string* detail : {&description, &ieee1284Id, &state}) {
        if (!detail->empty())
            details.push_back(*detail);
    }
    if (!usbVendorId.empty())
        details.push_back("USB " + usbVendorId + ":" + usbProductId);
    if (busy)
        details.push_back(holder.empty() ? "busy" : "busy: " + holder);
    const bool named = portText.find(' ') != std::string::npos;
    std::string text = portText + (driver.empty() ? "" : " --driver " + driver) + "  " + kind;
    if (!named && !device.empty())
        text += " " + device;
    for (const std::string& detail : details)
        text += ", " + detail;
    return text;
}

std::map<std::string, ListedPort::Field> ListedPort::fields() const
{
    std::map<std::string, Field> fields{
        {"port", portText}, {"kind", kind}, {"device", device}, {"busy", busy}};
    const std::pair<const char*, const std::string*> optional[] = {{"driver", &driver},
                                                                   {"description", &description},
                                                                   {"usbVendorId", &usbVendorId},
                                                                   {"usbProductId", &usbProductId},
                                                                   {"ieee1284Id", &ieee1284Id},
                                                                   {"holder", &holder},
                                                                   {"state", &state}};
    for (const auto& [key, value] : optional) {
        if (!value->empty())
            fields.emplace(key, *value);
    }
    return fields;
}
