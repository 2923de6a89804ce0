#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A FIFO with a reader, standing for a parallel or USB printer device.
class FifoPrinter
{
public:
    FifoPrinter() : path_(QFile::encodeName(folder_.filePath(QStringLiteral("lp0"))))
    {
        if (::mkfifo(path_.constData(), 0600) == 0)
            reader_ = ::open(path_.constData(), O_RDONLY | O_NONBLOCK);
    }
    ~FifoPrinter() { ::close(reader_); }
    FifoPrinter(const FifoPrinter&) = delete;
    FifoPrinter& operator=(const FifoPrinter&) = delete;

    QByteArray portText() const { return "LPT " + path_; }
    QByteArray readArrived()
    {
        QByteArray received;
        char buffer[4096];
        for (ssize_t n; (n = ::read(reader_, buffer, sizeof buffer)) > 0;)
            received.append(buffer, n);
        return received;
    }

private:
    QTemporaryDir folder_;
    QByteArray path_;
    int reader_ = -1;
};
