#pragma once

#include <QObject>

class QSocketNotifier;

// Ends the event loop cleanly on Ctrl-C or a termination request.
class QuitOnInterrupt : public QObject
{
    Q_OBJECT

public:
    explicit QuitOnInterrupt(QObject* parent = nullptr);
    ~QuitOnInterrupt() override;

private:
    QSocketNotifier* notifier_ = nullptr;
};
