// Our network send against a raw POSIX one, side by side in one run, and the time each kind
// of fault takes to fail against its bound. Prints one "name: value unit" line per figure.
#include "DnsBlackHole.h"
#include "FifoPrinter.h"
#include "LoopbackPrinter.h"
#include "PrinterSdk.h"
#include "PseudoTerminal.h"
#include "SendDocument.h"
#include "SystemPorts.h"
#include "SystemPrinterSdk.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <cups/cups.h>
#include <vector>

namespace
{

const std::string MarkWidth = QByteArray::fromHex("1F1B1F810405066009").toStdString();

double median(std::vector<qint64>& values)
{
    std::sort(values.begin(), values.end());
    return double(values[values.size() / 2]);
}

// POS_Open to the confirmed close.
qint64 sendThroughSdk(LoopbackPrinter& printer)
{
    SystemPrinterSdk sdk(systemPortFor);
    QElapsedTimer timer;
    timer.start();
    const bool sent = sendDocument(sdk, printer.address(), OpenMode::Network, MarkWidth).empty();
    const qint64 elapsed = timer.nsecsElapsed();
    return sent && printer.receiveDocument() == MarkWidth ? elapsed : -1;
}

// Connect, write, half-close, read to the end of stream, close.
qint64 sendRaw(LoopbackPrinter& printer)
{
    QElapsedTimer timer;
    timer.start();
    const int descriptor = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(printer.port());
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    char rest[256];
    bool sent = ::connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
                ::send(descriptor, MarkWidth.data(), MarkWidth.size(), MSG_NOSIGNAL) ==
                    ssize_t(MarkWidth.size()) &&
                ::shutdown(descriptor, SHUT_WR) == 0;
    while (sent && ::read(descriptor, rest, sizeof rest) > 0) {
    }
    ::close(descriptor);
    const qint64 elapsed = timer.nsecsElapsed();
    return sent && printer.receiveDocument() == MarkWidth ? elapsed : -1;
}

void compareWithRaw(int rounds)
{
    LoopbackPrinter printer;
    std::vector<qint64> ours, raw;
    for (int i = 0; i < rounds; ++i) {
        ours.push_back(sendThroughSdk(printer));
        raw.push_back(sendRaw(printer));
    }
    if (std::count(ours.begin(), ours.end(), -1) + std::count(raw.begin(), raw.end(), -1) > 0) {
        std::printf("network send 9 bytes: failed\n");
        return;
    }
    const double oursUs = median(ours) / 1000, rawUs = median(raw) / 1000;
    std::printf("network send 9 bytes, open to confirmed close (median of %d): %.1f us\n", rounds,
                oursUs);
    std::printf("raw POSIX send 9 bytes, connect to end of stream (median of %d): %.1f us\n",
                rounds, rawUs);
    std::printf("network send against raw POSIX (goal at most 2): %.2f ratio\n", oursUs / rawUs);
}

void timeToFailure(const char* fault, const std::string& name, qint32 mode, int bytes,
                   double boundMs)
{
    SystemPrinterSdk sdk(systemPortFor);
    QElapsedTimer timer;
    timer.start();
    const std::string outcome = sendDocument(sdk, name, mode, std::string(std::size_t(bytes), 'x'));
    std::printf("%s, time to failure (bound %.0f ms%s): %.0f ms\n", fault, boundMs,
                outcome.empty() ? ", NOT FAILED" : "", timer.nsecsElapsed() / 1e6);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    compareWithRaw(200);

    const quint16 closedPort = LoopbackPrinter().port();
    timeToFailure("network refused", "127.0.0.1:" + std::to_string(closedPort), OpenMode::Network,
                  9, 3000);
    const LoopbackPrinter silent(LoopbackPrinter::NeverAccepts),
        resets(LoopbackPrinter::ResetsAtAccept), readsPart(LoopbackPrinter::ReadsPart);
    timeToFailure("network never accepts", silent.address(), OpenMode::Network, 9, 3000);
    timeToFailure("network reset at accept", resets.address(), OpenMode::Network, 9, 2000);
    timeToFailure("network reads part, then closes", readsPart.address(), OpenMode::Network, 32768,
                  12000);
    if (DnsBlackHole blackHole; blackHole.made)
        timeToFailure("network name server never answers", "printer.example:9100",
                      OpenMode::Network, 9, 3000);

    PseudoTerminal line;
    timeToFailure("serial line never read", line.portText, OpenMode::Serial, 24576, 4133);
    FifoPrinter fifo;
    timeToFailure("device never reads", fifo.portText(), OpenMode::ParallelOrUsbDevice, 131072,
                  12048);
    timeToFailure("device every write fails", "LPT /dev/full", OpenMode::ParallelOrUsbDevice, 9,
                  10000);

    const LoopbackPrinter silentServer;
    cupsSetServer(silentServer.address().c_str());
    timeToFailure("queue server never answers", "blackmark-bench", OpenMode::PrinterQueue, 9, 5000);
    return 0;
}
