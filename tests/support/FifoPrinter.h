#pragma once

#include <QTemporaryDir>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

// A FIFO with a reader, standing for a parallel or USB printer device.
struct FifoPrinter {
    QTemporaryDir folder;
    std::string path = folder.filePath(QStringLiteral("lp0")).toStdString();
    int reader =
        ::mkfifo(path.c_str(), 0600) == 0 ? ::open(path.c_str(), O_RDONLY | O_NONBLOCK) : -1;

    ~FifoPrinter() { ::close(reader); }
    std::string portText() const { return "LPT " + path; }
    std::string readArrived() const
    {
        std::string received;
        char buffer[4096];
        for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;)
            received.append(buffer, std::size_t(n));
        return received;
    }
};
