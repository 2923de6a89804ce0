#include "PtyDocumentReader.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

PtyDocumentReader::PtyDocumentReader(QObject* parent) : QObject(parent)
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

void PtyDocumentReader::readAvailable()
{
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(master_, buffer, sizeof buffer);
        if (n <= 0)
            break;
        received_.append(buffer, n);
    }
    if (!received_.isEmpty())
        pause_.start();
}

void PtyDocumentReader::endDocument()
{
    const QByteArray document = received_;
    received_.clear();
    emit documentReceived(document, slavePath_);
}
