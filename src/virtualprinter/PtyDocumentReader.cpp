#include "PtyDocumentReader.h"

#include "VirtualPrinterOutput.h"

#include <QByteArray>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyDocumentReader::PtyDocumentReader(VirtualPrinterOutput& output, QObject* parent)
    : QObject(parent), output_(output)
{
    pause_.setSingleShot(true);
    pause_.setInterval(DocumentPauseMs);
    connect(&pause_, &QTimer::timeout, this, &PtyDocumentReader::endDocument);
}

PtyDocumentReader::~PtyDocumentReader()
{
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
}

bool PtyDocumentReader::open(QString& failure)
{
    char name[256] = {};
    termios raw{};
    ::cfmakeraw(&raw);
    if (::openpty(&master_, &slave_, name, &raw, nullptr) != 0) {
        failure = QStringLiteral("make a pseudo-terminal: %1")
                      .arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    // The slave stays open here too, so that the line lives between the tool's opens.
    slavePath_ = QString::fromLocal8Bit(name);
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    notifier_ = new QSocketNotifier(master_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &PtyDocumentReader::readAvailable);
    return true;
}

// One slice a wake-up: the notifier wakes again while more is waiting.
void PtyDocumentReader::readAvailable()
{
    QByteArray slice(SliceBytes, Qt::Uninitialized);
    const ssize_t n = ::read(master_, slice.data(), size_t(slice.size()));
    if (n <= 0)
        return;
    if (document_ == 0)
        document_ = output_.begin(slavePath_);
    const QByteArray answer = output_.take(document_, QByteArrayView(slice.constData(), n));
    // A full line drops the answer, as a printer's full transmit buffer would.
    if (!answer.isEmpty()) {
        [[maybe_unused]] const ssize_t written =
            ::write(master_, answer.constData(), size_t(answer.size()));
    }
    pause_.start();
}

void PtyDocumentReader::endDocument()
{
    // Answers the sender left unread would otherwise greet the next one.
    ::tcflush(slave_, TCIFLUSH);
    output_.end(std::exchange(document_, 0));
    emit documentEnded();
}
