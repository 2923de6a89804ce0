#include "DiscoverSubcommand.h"
#include "LoopbackPrinter.h"

#include <doctest/doctest.h>
#include <sstream>

namespace
{

// A printer's answers to what discover asks, at once or late.
LoopbackPrinter::Answers answering(int lateMs)
{
    return [lateMs](std::string_view request) -> std::string {
        std::this_thread::sleep_for(std::chrono::milliseconds(lateMs));
        if (request == "\x1D\x49\x42")
            return std::string("_ACME\0", 6);
        if (request == "\x1D\x49\x43")
            return std::string("_LX-500\0", 8);
        return request.substr(0, 2) == "\x10\x04" ? "\x12" : "";
    };
}

} // namespace

TEST_CASE("discover lists each host that takes the connection, by what it answered")
{
    const struct {
        const char* name;
        LoopbackPrinter::Behaviour behaviour;
        int lateMs; // -1: answers nothing
        int exitCode;
        const char* line;
    } cases[] = {
        {"answers everything", LoopbackPrinter::Reads, 0, 0, "  # ACME LX-500, ready to print\n"},
        {"answers nothing", LoopbackPrinter::Reads, -1, 0, "  # answers nothing\n"},
        {"answers late", LoopbackPrinter::Reads, 1300, 0, "  # answers nothing\n"},
        {"accepts and resets", LoopbackPrinter::ResetsAtAccept, -1, 0,
         "  # took the connection, then "},
        {"accepts and closes", LoopbackPrinter::HalfClosesFirst, -1, 0,
         "  # took the connection, then "},
        {"silent", LoopbackPrinter::NeverAccepts, -1, 1, ""}};
    for (const auto& c : cases) {
        CAPTURE(std::string(c.name));
        LoopbackPrinter printer(c.behaviour, AF_INET, 0,
                                c.lateMs < 0 ? LoopbackPrinter::Answers() : answering(c.lateMs));
        std::ostringstream out, err;
        CHECK(DiscoverSubcommand::run({"discover", "127.0.0.1", "--tcp-port",
                                       std::to_string(printer.port()), "--timeout", "300"},
                                      false, out, err) == c.exitCode);
        const std::string line = *c.line ? "ETHERNET " + printer.address() + c.line : "";
        CHECK(out.str().substr(0, line.size()) == line);
        CHECK(err.str() == "blackmark: 1 address tried, " + std::to_string(1 - c.exitCode) +
                               " took a connection, in " +
                               err.str().substr(err.str().find(" in ") + 4));
    }
}

TEST_CASE("discover goes on past refusing hosts, in address order, as JSON too")
{
    LoopbackPrinter printer(LoopbackPrinter::Reads, AF_INET, 0, answering(0));
    const std::string port = std::to_string(printer.port());
    std::ostringstream out, err;
    // Only 127.0.0.1 listens on the port; the others refuse.
    CHECK(DiscoverSubcommand::run(
              {"discover", "127.0.0.3", "127.0.0.0/30", "--tcp-port", port, "--jobs", "2"}, true,
              out, err) == 0);
    CHECK(out.str().find("\"printer\": \"ETHERNET 127.0.0.1:" + port + "\"") != std::string::npos);
    CHECK(out.str().find("\"tried\": 3") != std::string::npos);
    CHECK(out.str().find("\"model\": \"LX-500\"") != std::string::npos);
}
