#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>

// A temporary root with a /dev and /sys of its own, for BLACKMARK_DEVICE_ROOT; FIFOs stand
// for the device nodes.
struct FakeDeviceTree {
    QTemporaryDir root;

    QString path(const QString& inside) const { return root.path() + inside; }
    void node(const QString& inside) const
    {
        QDir().mkpath(QFileInfo(path(inside)).path());
        ::mkfifo(QFile::encodeName(path(inside)).constData(), 0600);
    }
    // A symbolic link, as sysfs has from a class folder to the device.
    void link(const QString& inside, const QString& target) const
    {
        QDir().mkpath(QFileInfo(path(inside)).path());
        QFile::link(target, path(inside));
    }
    void attribute(const QString& inside, const QByteArray& value) const
    {
        QDir().mkpath(QFileInfo(path(inside)).path());
        QFile file(path(inside));
        if (file.open(QIODevice::WriteOnly))
            file.write(value + '\n');
    }
};
