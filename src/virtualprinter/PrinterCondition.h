#pragma once

#include <QByteArray>
#include <QString>

// What the virtual printer is and how it stands, as its status and identity answers tell:
// who made it, and whether its paper is near its end or out, its cover open, it offline.
struct PrinterCondition {
    QString maker = QStringLiteral("BLACKMARK");
    QString model = QStringLiteral("VIRTUAL PRINTER");
    QString firmware = QStringLiteral("1.0");
    QString serial = QStringLiteral("VP-0001");
    bool autocutter = true;
    bool paperNearEnd = false;
    bool paperEnd = false;
    bool coverOpen = false;
    bool offline = false;

    // A printer cannot print while its cover is open or its paper is out.
    bool isOffline() const { return offline || coverOpen || paperEnd; }

    // The answer to DLE EOT n, n = 1 to 4; empty for another n.
    QByteArray realTimeStatus(quint8 n) const;
    // The answer to GS r n: paper sensor (1, 49), drawer (2, 50), ink (4, 52); empty otherwise.
    QByteArray status(quint8 n) const;
    // The automatic status block, four bytes, that GS a sends.
    QByteArray automaticStatus() const;
    // The answer to GS I n: a byte for 1 to 3, a 5F ... 00 block for 65 to 69; empty otherwise.
    QByteArray printerId(quint8 n) const;

    // Reads "MAKER;MODEL;FIRMWARE;SERIAL"; false, with the condition unchanged, when it is not
    // four parts of at most 80 printable characters.
    bool setIdentity(const QString& text);
};
