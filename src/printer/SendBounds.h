#pragma once

#include <cstdint>
#include <string>

// How long each stage of a send to the network or to a printer device may take, and what a
// send says when a stage fails. Every platform's ports use these, so that a printer behaves
// and reads the same whatever the system.
namespace SendBounds
{

// Host lookup and connect together, over every address the host has.
inline constexpr int NetworkConnectMs = 3000;
// The whole document, from its first byte.
inline constexpr int NetworkWriteMs = 10000;
// After our end of the stream, for the printer's end; some printers never close.
inline constexpr int NetworkConfirmMs = 2000;

// `action` names the stage and the peer: "connect to 192.168.1.87:9100".
std::string noAnswer(const std::string& action, int boundMs);
std::string resetAfter(const std::string& printer, std::int64_t sent, std::int64_t requested);
std::string notAllWentOut(const std::string& printer, std::int64_t sent, std::int64_t requested);
std::string failedBefore(const std::string& action, const std::string& printer);
std::string printerClosed(const std::string& printer);

// A printer device that takes nothing is given up on after this; a slow parallel port still
// takes 64 KiB a second.
std::int64_t deviceMs(std::int64_t count);
// How long to wait before trying again a device that said "ready" and took nothing.
inline constexpr int DeviceRetryMs = 20;
std::string deviceDidNotTake(const std::string& device, std::int64_t count);

// Each call into a printer queue's spooler; a stuck spooler would hold the window otherwise.
inline constexpr int QueueAnswerMs = 10000;
std::string queueDidNotAnswer();

} // namespace SendBounds
