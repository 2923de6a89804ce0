#pragma once

#include "DocumentGallery.h"

#include <QHttpServer>
#include <QObject>
#include <QTcpServer>

// The virtual printer's web page: lists each printer's documents from a gallery, newest first,
// and keeps itself up to date by asking for what is new every second. It answers only what it
// serves: the page, its script, the updates and the pictures; anything else gets a plain error.
class PrinterWebPage : public QObject
{
    Q_OBJECT
public:
    // Connections kept at once; one idle this long is closed, so that a silent client holds
    // nothing for long.
    static constexpr int MostConnections = 32;
    static constexpr int IdleMs = 30000;
    // A request's head that is longer, a body, or more bytes on one connection than the page
    // ever sends get a plain refusal.
    static constexpr int LongestRequestHead = 16 * 1024;
    static constexpr qint64 MostBytesPerConnection = 4 * 1024 * 1024;

    explicit PrinterWebPage(const DocumentGallery& gallery, int idleMs = IdleMs,
                            QObject* parent = nullptr);

    // Listens on the address; says why not when it cannot.
    bool listen(const QString& host, quint16 port, QString& failure);
    // "http://HOST:PORT/" once listening.
    QString address() const;

signals:
    // A request was answered; its path says what it asked for.
    void answered(const QString& path);

private:
    void addRoutes();

    const DocumentGallery& gallery_;
    const int idleMs_;
    QHttpServer server_;
    QTcpServer* tcp_ = nullptr;
};
