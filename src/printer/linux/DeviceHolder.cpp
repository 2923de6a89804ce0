#include "DeviceHolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

// Enough for any desktop or till; keeps the look cheap on a crowded machine.
constexpr int MostDescriptorsLooked = 100000;

QString processName(const QString& pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    return comm.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(comm.readAll()).trimmed()
                                          : QString();
}

} // namespace

QString deviceHolder(const QString& path)
{
    const QString wanted = QFileInfo(path).canonicalFilePath();
    if (wanted.isEmpty())
        return {};
    int looked = 0;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString& pid : pids) {
        if (pid.isEmpty() || !pid.front().isDigit())
            continue;
        const QDir descriptors(QStringLiteral("/proc/%1/fd").arg(pid));
        for (const QString& fd :
             descriptors.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            if (++looked > MostDescriptorsLooked)
                return {};
            if (QFile::symLinkTarget(descriptors.filePath(fd)) == wanted)
                return QStringLiteral("pid %1 (%2)").arg(pid, processName(pid));
        }
    }
    return {};
}
