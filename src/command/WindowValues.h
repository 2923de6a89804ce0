#pragma once

#include <QString>
#include <QtGlobal>

// The values that outlive a press; each send overwrites those it reaches.
struct WindowValues {
    QString CommandText;
    qint32 PortHandle = -1;
    bool DocFlag = false;
    qint32 LastResult = 0;
};
