// Encoding of hex command text: the longest catalogue command and a 32,767-token text,
// each timed as the median of many runs, with the cost per token side by side.
#include "BlackMarkCommands.h"
#include "HexCommandText.h"
#include "UnicodeText.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace
{

double medianNanoseconds(const std::string& text, int rounds)
{
    using Clock = std::chrono::steady_clock;
    std::vector<long long> times;
    times.reserve(std::size_t(rounds));
    std::size_t sink = 0;
    for (int i = 0; i < rounds; ++i) {
        std::string copy = text;
        const Clock::time_point start = Clock::now();
        sink += encodeHexCommandText(copy).bytes.size();
        times.push_back(
            std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    if (sink == 0)
        std::puts("");
    return double(times[times.size() / 2]);
}

} // namespace

int main()
{
    const std::string longest = BlackMarkCommands::FindStartAndPrint.hexText;
    std::string largest;
    for (std::size_t i = 0; i < MaxHexCommandTokens; ++i)
        largest.append(i ? " " : "").append(UnicodeText::hex(std::uint32_t(i % 256)));

    const double small = medianNanoseconds(longest, 20000);
    const double large = medianNanoseconds(largest, 200);
    std::printf("encode longest catalogue command, 32 tokens (median of 20000): %.2f us\n",
                small / 1000);
    std::printf("encode 32767-token text (median of 200): %.2f ms\n", large / 1e6);
    std::printf("encode cost per token, 32767 tokens / 32 tokens: %.2f ratio\n",
                (large / 32767) / (small / 32));
    return 0;
}
