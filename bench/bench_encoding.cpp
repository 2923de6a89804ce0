// Encoding of hex command text: the longest catalogue command and a 32,767-token text,
// each timed as the median of many runs, with the cost per token side by side.
#include "BlackMarkCommands.h"
#include "HexCommandText.h"

#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace
{

double medianNanoseconds(const QString& text, int rounds)
{
    std::vector<qint64> times;
    times.reserve(rounds);
    qsizetype sink = 0;
    for (int i = 0; i < rounds; ++i) {
        QString copy = text;
        QElapsedTimer timer;
        timer.start();
        sink += encodeHexCommandText(copy).bytes.size();
        times.push_back(timer.nsecsElapsed());
    }
    std::sort(times.begin(), times.end());
    if (sink < 0)
        std::puts("");
    return double(times[times.size() / 2]);
}

} // namespace

int main()
{
    const QString longest = QLatin1String(BlackMarkCommands::FindStartAndPrint.hexText);
    QStringList tokens;
    for (int i = 0; i < MaxHexCommandTokens; ++i)
        tokens << QString::number(i % 256, 16).toUpper();
    const QString largest = tokens.join(u' ');

    const double small = medianNanoseconds(longest, 20000);
    const double large = medianNanoseconds(largest, 200);
    std::printf("encode longest catalogue command, 32 tokens (median of 20000): %.2f us\n",
                small / 1000);
    std::printf("encode 32767-token text (median of 200): %.2f ms\n", large / 1e6);
    std::printf("encode cost per token, 32767 tokens / 32 tokens: %.2f ratio\n",
                (large / 32767) / (small / 32));
    return 0;
}
