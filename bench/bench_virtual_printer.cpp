// The virtual printer under load, over loopback: peak memory for large documents, decode
// throughput, and how long a small document waits behind a large one. Prints one
// "name: value unit" line per figure.
#include "BlackMarkSettings.h"
#include "PrinterStreamDecoder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cstdio>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

constexpr qsizetype MiB = 1024 * 1024;

// A receipt of text lines and a raster image, one mebibyte.
QByteArray receiptBlock()
{
    QByteArray block =
        QByteArray::fromHex("1B401B6101") + QByteArray("TOTAL 12.50\n").repeated(100);
    const qsizetype rows = (MiB - block.size() - 8 - 3) / 72;
    block += QByteArray::fromHex("1D7630004800") + char(rows & 0xFF) + char(rows >> 8);
    block += QByteArray(rows * 72, char(0x5A)) + QByteArray::fromHex("1D5630");
    return block.leftJustified(MiB, '\n');
}

// Receipts of text only, one mebibyte.
QByteArray textBlock()
{
    return (QByteArray::fromHex("1B401B4501") +
            QByteArray("ITEM 0042  COFFEE  2.50\n").repeated(40) + QByteArray::fromHex("1D5630"))
        .repeated(MiB / 1000)
        .leftJustified(MiB, '\n');
}

double decodeMegabytesPerSecond(const QByteArray& block, int blocks)
{
    BlackMarkSettings settings;
    PrinterStreamDecoder decoder(settings);
    QElapsedTimer timer;
    timer.start();
    qsizetype lines = 0;
    for (int i = 0; i < blocks; ++i) {
        for (qsizetype at = 0; at < block.size(); at += 64 * 1024)
            lines += decoder
                         .feed(QByteArrayView(block).sliced(
                             at, std::min<qsizetype>(64 * 1024, block.size() - at)))
                         .size();
    }
    lines += decoder.finish().size();
    return blocks / (timer.nsecsElapsed() / 1e9) * (lines > 0 ? 1 : 0);
}

bool sendBlocks(quint16 port, const QByteArray& block, int count, std::atomic<qint64>* sent)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const timeval bound{60, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &bound, sizeof bound);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    for (int i = 0; ok && i < count; ++i) {
        for (qsizetype at = 0; ok && at < block.size();) {
            const ssize_t n =
                ::send(fd, block.constData() + at, size_t(block.size() - at), MSG_NOSIGNAL);
            ok = n > 0;
            at += n;
            if (sent)
                *sent += n;
        }
    }
    ::close(fd);
    return ok;
}

class VirtualPrinter
{
public:
    explicit VirtualPrinter(const QStringList& options = {})
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port = probe.serverPort();
        probe.close();
        process_.start(QStringLiteral(BLACKMARK_PRINTER),
                       QStringList{"--listen", "127.0.0.1:" + QString::number(port)} + options);
        waitFor("listening on");
    }
    ~VirtualPrinter()
    {
        process_.kill();
        process_.waitForFinished(5000);
    }

    // Reads output until `text` appears; what is read up to it is gone. False after the bound.
    bool waitFor(const QByteArray& text, int boundMs = 120000)
    {
        QDeadlineTimer deadline(boundMs);
        for (;;) {
            const qsizetype found = output_.indexOf(text);
            if (found >= 0) {
                output_.remove(0, found + text.size());
                return true;
            }
            output_.remove(0, std::max<qsizetype>(0, output_.size() - text.size()));
            if (deadline.hasExpired())
                return false;
            process_.waitForReadyRead(50);
            output_ += process_.readAllStandardOutput();
        }
    }

    // Keeps reading for a while, so that the printer never waits on its output.
    void read(int ms)
    {
        process_.waitForReadyRead(ms);
        output_ = (output_ + process_.readAllStandardOutput()).right(64 * 1024);
    }

    double peakResidentMegabytes()
    {
        QFile status(QStringLiteral("/proc/%1/status").arg(process_.processId()));
        status.open(QIODevice::ReadOnly);
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:"))
                return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
        }
        return -1;
    }

    quint16 port = 0;

private:
    QProcess process_;
    QByteArray output_;
};

double peakForDocument(int megabytes, const QStringList& options = {})
{
    VirtualPrinter printer(options);
    std::thread sender([&] { sendBlocks(printer.port, receiptBlock(), megabytes, nullptr); });
    const bool taken =
        printer.waitFor(", " + QByteArray::number(qint64(megabytes) * MiB) + " bytes\n");
    sender.join();
    return taken ? printer.peakResidentMegabytes() : -1;
}

// Milliseconds from connecting to the printer's line that ends the small document.
double smallDocumentMs(VirtualPrinter& printer, int number)
{
    QElapsedTimer timer;
    timer.start();
    QTcpSocket small;
    small.connectToHost(QHostAddress::LocalHost, printer.port);
    small.waitForConnected(5000);
    small.write(QByteArray::fromHex("1F1B1F810405066009"));
    small.waitForBytesWritten(5000);
    small.disconnectFromHost();
    if (!printer.waitFor("document " + QByteArray::number(number) + " from 127.0.0.1:"))
        return -1;
    if (!printer.waitFor(", 9 bytes\n"))
        return -1;
    return timer.nsecsElapsed() / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::printf("virtual printer decode, raster receipts: %.0f MB/s\n",
                decodeMegabytesPerSecond(receiptBlock(), 200));
    std::printf("virtual printer decode, text receipts: %.1f MB/s\n",
                decodeMegabytesPerSecond(textBlock(), 20));
    std::printf("virtual printer peak RSS, 50 MB document: %.1f MB\n", peakForDocument(50));
    std::printf("virtual printer peak RSS, 200 MB document: %.1f MB\n", peakForDocument(200));

    {
        QTemporaryDir pictures;
        QElapsedTimer drawing;
        drawing.start();
        const double peak = peakForDocument(200, {"--pictures", pictures.path()});
        std::printf("virtual printer peak RSS, 200 MB document with pictures: %.1f MB\n", peak);
        std::printf("virtual printer 200 MB document with pictures: %.0f s, %lld pictures\n",
                    drawing.nsecsElapsed() / 1e9,
                    qlonglong(QDir(pictures.path()).entryList(QDir::Files).size()));
    }

    VirtualPrinter printer;
    std::vector<double> alone;
    for (int i = 1; i <= 20; ++i)
        alone.push_back(smallDocumentMs(printer, i));
    std::printf("virtual printer small document alone (median of 20): %.2f ms\n", median(alone));

    std::atomic<qint64> sent = 0;
    QElapsedTimer streaming;
    streaming.start();
    std::thread large([&] { sendBlocks(printer.port, receiptBlock(), 200, &sent); });
    std::vector<double> behind;
    for (int i = 0; i < 5; ++i) {
        while (sent < (i + 1) * 30 * MiB)
            printer.read(1);
        behind.push_back(smallDocumentMs(printer, 22 + i)); // the large one is number 21
    }
    const bool largeTaken = printer.waitFor(", " + QByteArray::number(200 * MiB) + " bytes\n");
    const double seconds = streaming.nsecsElapsed() / 1e9;
    large.join();
    std::printf("virtual printer small document behind a 200 MB one (median of 5): %.2f ms\n",
                median(behind));
    std::printf("virtual printer small document behind a 200 MB one (worst of 5): %.2f ms\n",
                *std::max_element(behind.begin(), behind.end()));
    std::printf("virtual printer 200 MB document over loopback: %.0f MB/s\n",
                largeTaken ? 200 / seconds : 0.0);
    return 0;
}
