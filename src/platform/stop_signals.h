#pragma once

#include <QObject>

class QSocketNotifier;

// SIGTERM and SIGINT, caught while an object of this class lives and told
// on the event loop (through a pipe the handler writes to), instead of
// ending the process at once: a command that runs another program can then
// end that program first and say so. One at a time in the process; the
// former handlers come back when it is destroyed.
class Stop_Signals : public QObject
{
    Q_OBJECT

public:
    explicit Stop_Signals(QObject *parent = nullptr);
    ~Stop_Signals() override;

    // False when the signals could not be caught (then they act as before).
    bool Active() const { return notifier_ != nullptr; }

signals:
    void Received(int signal_number);

private:
    void On_Readable();

    QSocketNotifier *notifier_ = nullptr;
};
