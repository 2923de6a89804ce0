#include "AddressRange.h"
#include "DiscoverSubcommand.h"
#include "Discovery.h"

#include <cctype>
#include <doctest/doctest.h>
#include <sstream>

namespace
{

// "first-last count", or the refusal.
std::string rangeOf(const char* text)
{
    const AddressRange range = AddressRange::read(text);
    return range.refusal.empty() ? ipv4Text(range.first) + '-' + ipv4Text(range.last) + ' ' +
                                       std::to_string(range.size())
                                 : range.refusal;
}

} // namespace

TEST_CASE("address ranges are read as a person writes them")
{
    const std::string write = "write one IPv4 address, a block such as 192.168.1.0/24, or a range "
                              "such as 192.168.1.20-192.168.1.80",
                      prefix = "the prefix after \"/\" must be a whole number from 0 to 32",
                      ends = "both ends of a dash range must be IPv4 addresses";
    const struct {
        const char* text;
        std::string read; // or why it is no range
    } cases[] = {{"192.168.1.50", "192.168.1.50-192.168.1.50 1"},
                 {"192.168.1.0/24", "192.168.1.1-192.168.1.254 254"},
                 {"192.168.1.77/24", "192.168.1.1-192.168.1.254 254"},
                 {"10.0.0.4/31", "10.0.0.4-10.0.0.5 2"},
                 {"10.0.0.4/32", "10.0.0.4-10.0.0.4 1"},
                 {"0.0.0.0/0", "0.0.0.1-255.255.255.254 4294967294"},
                 {"192.168.1.20-192.168.1.80", "192.168.1.20-192.168.1.80 61"},
                 {"", write},
                 {"192.168.1", write},
                 {"192.168.01.1", write},
                 {"192.168.1.256/24", "the part before \"/\" is not an IPv4 address"},
                 {"10.0.0.0/33", prefix},
                 {"10.0.0.0/024", prefix},
                 {"10.0.0.0/08", prefix},
                 {"10.0.0.0/", prefix},
                 {"10.0.0.9-10.0.0.1", "the range ends before it starts"},
                 {"10.0.0.1-", ends},
                 {"10.0.0.1-20", ends}};
    for (const auto& c : cases) {
        CAPTURE(c.text);
        const bool read = std::isdigit(static_cast<unsigned char>(c.read[0]));
        CHECK(
            rangeOf(c.text) ==
            (read ? c.read : '"' + std::string(c.text) + "\" is not an address range: " + c.read));
    }
}

TEST_CASE("discover tries only the local blocks, each address once, and no more than 4096")
{
    const std::string outside = " is outside what discover may try: loopback 127.0.0.0/8, the "
                                "private blocks 10.0.0.0/8, 172.16.0.0/12, 192.168.0.0/16 and "
                                "link-local 169.254.0.0/16";
    const struct {
        std::vector<std::string> ranges;
        std::string said; // count, first and last; or the refusal
    } cases[] = {{{"127.0.0.5", "127.0.0.1-127.0.0.6", "127.0.0.3"}, "6 127.0.0.1 127.0.0.6"},
                 {{"10.255.255.255", "172.31.0.0/24", "172.31.255.255", "192.168.255.255",
                   "169.254.255.255", "127.255.255.255"},
                  "259 10.255.255.255 192.168.255.255"},
                 {{"10.0.0.0", "172.16.0.0", "192.168.0.0", "169.254.0.0", "127.0.0.0"},
                  "5 10.0.0.0 192.168.0.0"},
                 {{"192.168.0.0/20", "10.0.0.1-10.0.0.3"}, "at most 4096 addresses in one run"},
                 {{"8.8.8.8"}, "\"8.8.8.8\"" + outside},
                 {{"9.255.255.255"}, "\"9.255.255.255\"" + outside},
                 {{"192.167.255.255"}, "\"192.167.255.255\"" + outside},
                 {{"172.32.0.0"}, "\"172.32.0.0\"" + outside},
                 {{"169.255.0.0"}, "\"169.255.0.0\"" + outside},
                 {{"128.0.0.0"}, "\"128.0.0.0\"" + outside},
                 {{"172.16.0.0/11"}, "\"172.16.0.0/11\"" + outside},
                 {{"192.168.255.1-192.169.0.1"}, "\"192.168.255.1-192.169.0.1\"" + outside},
                 {{"224.0.0.1"}, "\"224.0.0.1\"" + outside},
                 {{"255.255.255.255"}, "\"255.255.255.255\"" + outside},
                 {{"10.0.0.0/19"}, "at most 4096 addresses in one run"},
                 {{"10.0.0.0/20", "127.0.0.1-127.0.0.3"}, "at most 4096 addresses in one run"},
                 {{}, "discover needs at least one address, block or range"}};
    for (const auto& c : cases) {
        std::string refusal;
        const std::vector<std::uint32_t> addresses = Discovery::addressesOf(c.ranges, refusal);
        CHECK((addresses.empty()
                   ? refusal
                   : std::to_string(addresses.size()) + ' ' + ipv4Text(addresses.front()) + ' ' +
                         ipv4Text(addresses.back())) == c.said);
    }
}

TEST_CASE("discover refuses bad options before it tries anything")
{
    const struct {
        std::vector<std::string> words;
        const char* said;
    } cases[] = {{{"discover", "127.0.0.1", "--jobs", "0"},
                  "--jobs takes a whole number from 1 to 256, not \"0\""},
                 {{"discover", "127.0.0.1", "--jobs", "257"},
                  "--jobs takes a whole number from 1 to 256, not \"257\""},
                 {{"discover", "127.0.0.1", "--timeout", "-5"},
                  "--timeout takes a whole number from 1 to 60000, not \"-5\""},
                 {{"discover", "127.0.0.1", "--tcp-port", "65536"},
                  "--tcp-port takes a whole number from 1 to 65535, not \"65536\""},
                 {{"discover", "127.0.0.1", "--tcp-port"}, "--tcp-port needs a number"},
                 {{"discover", "127.0.0.1", "--port", "1"}, "discover does not take \"--port\""},
                 {{"discover", "1.1.1.1"}, "\"1.1.1.1\" is outside"}};
    for (const auto& c : cases) {
        std::ostringstream out, err;
        CHECK(DiscoverSubcommand::run(c.words, false, out, err) == 2);
        CHECK(out.str().empty());
        CHECK(err.str().find(std::string("blackmark: ") + c.said) == 0);
    }
}
