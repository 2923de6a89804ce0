#pragma once

#include <QString>

// Which process has a device open, found through /proc: "pid 42 (minicom)". Empty when no
// process that this user may look at holds it.
QString deviceHolder(const QString& path);
