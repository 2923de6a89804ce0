#pragma once

#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// A FIFO with a reader, standing for a parallel or USB printer device.
struct FifoPrinter {
    QTemporaryDir folder;
    QByteArray path = QFile::encodeName(folder.filePath(QStringLiteral("lp0")));
    int reader = ::mkfifo(path.constData(), 0600) == 0
                     ? ::open(path.constData(), O_RDONLY | O_NONBLOCK)
                     : -1;

    ~FifoPrinter() { ::close(reader); }
    QByteArray portText() const { return "LPT " + path; }
    QByteArray readArrived() const
    {
        QByteArray received;
        char buffer[4096];
        for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;)
            received.append(buffer, n);
        return received;
    }
};
