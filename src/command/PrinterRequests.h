#pragma once

#include <cstdint>
#include <string>

// The byte layout of the requests that ask a printer who it is and whether it can print, and
// of their answers. Nothing here changes a setting.
namespace PrinterRequests
{

// GS I n: transmit printer ID. For n = 65 to 69 the answer is a block: 5F, up to 80 bytes of
// text, 00. For n = 1 to 3 it is one byte, 0xx0xxxx.
inline std::string printerId(std::uint8_t n)
{
    return {'\x1D', '\x49', char(n)};
}

struct IdentityItem {
    std::uint8_t n;
    const char* name; // as the identity line shows it
};
// In the order they are asked: what most printers know first, the serial number last.
inline constexpr IdentityItem IdentityItems[4] = {
    {66, "maker"}, {67, "model"}, {65, "firmware"}, {68, "serial"}};

// GS I 2, the type ID: bit 1 is set when an autocutter is fitted.
inline constexpr std::uint8_t TypeId = 2;
inline constexpr std::uint8_t AutocutterBit = 0x02;

// DLE EOT n: transmit real-time status, n = 1 to 4. The answer is one byte, 0xx1xx10.
inline std::string realTimeStatus(std::uint8_t n)
{
    return {'\x10', '\x04', char(n)};
}

// What the bits of each DLE EOT answer mean.
struct StatusCondition {
    std::uint8_t n;    // the request that reports it
    std::uint8_t bits; // set when it holds (either bit, for the two-bit sensors)
    bool stopsPrinting;
    const char* words; // as the status line shows it
    const char* key;   // as the JSON object names it
};
inline constexpr const char* StatusRequestNames[4] = {"printer status", "offline cause",
                                                      "error cause", "paper sensor"};
inline constexpr StatusCondition StatusConditions[11] = {
    {1, 0x08, true, "offline", "offline"},
    {2, 0x04, true, "cover open", "coverOpen"},
    {2, 0x08, true, "paper being fed by the button", "paperFedByButton"},
    {2, 0x20, true, "stopped at paper end", "stoppedAtPaperEnd"},
    {2, 0x40, true, "error", "error"},
    // With black-mark paper this is most often a mark that was not found.
    {3, 0x04, true, "recoverable error (with black-mark paper: often no mark found)",
     "recoverableError"},
    {3, 0x08, true, "autocutter error", "autocutterError"},
    {3, 0x20, true, "unrecoverable error", "unrecoverableError"},
    {3, 0x40, true, "auto-recoverable error", "autoRecoverableError"},
    {4, 0x0C, false, "paper near end", "paperNearEnd"},
    {4, 0x60, true, "paper end", "paperEnd"},
};

} // namespace PrinterRequests
