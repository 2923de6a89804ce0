#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A run of IPv4 addresses as a person writes it: one address ("192.168.1.50"), a block
// ("192.168.1.0/24") or a dash range ("192.168.1.20-192.168.1.80"). Addresses are numbers
// in host order, so that a range is first..last.
struct AddressRange {
    std::uint32_t first = 0;
    std::uint32_t last = 0;
    std::string refusal; // empty when the text was read

    std::uint64_t size() const { return std::uint64_t(last) - first + 1; }

    // A block of 4 or more addresses leaves out its first (the network) and its last (the
    // broadcast address); a block written with host bits set is the block that holds it.
    static AddressRange read(std::string_view text);
};

// Four decimal parts of 0 to 255, without leading zeros or signs.
std::optional<std::uint32_t> readIpv4(std::string_view text);
std::string ipv4Text(std::uint32_t address);
