#include "platform/stop_signals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int pipe_fds[2] = {-1, -1};
struct sigaction former_term;
struct sigaction former_int;

void On_Signal(int signal_number)
{
    const int saved = errno;
    const unsigned char byte = static_cast<unsigned char>(signal_number);
    [[maybe_unused]] const ssize_t written = ::write(pipe_fds[1], &byte, 1);
    errno = saved;
}

} // namespace

Stop_Signals::Stop_Signals(QObject *parent)
    : QObject(parent)
{
    if (pipe_fds[0] >= 0 || ::pipe2(pipe_fds, O_CLOEXEC | O_NONBLOCK) != 0) {
        if (pipe_fds[0] < 0)
            pipe_fds[0] = pipe_fds[1] = -1;
        return;
    }
    struct sigaction action = {};
    action.sa_handler = On_Signal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, &former_term);
    ::sigaction(SIGINT, &action, &former_int);
    notifier_ = new QSocketNotifier(pipe_fds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &Stop_Signals::On_Readable);
}

Stop_Signals::~Stop_Signals()
{
    if (!notifier_)
        return;
    ::sigaction(SIGTERM, &former_term, nullptr);
    ::sigaction(SIGINT, &former_int, nullptr);
    delete notifier_;
    ::close(pipe_fds[0]);
    ::close(pipe_fds[1]);
    pipe_fds[0] = pipe_fds[1] = -1;
}

void Stop_Signals::On_Readable()
{
    unsigned char byte = 0;
    while (::read(pipe_fds[0], &byte, 1) == 1)
        emit Received(byte);
}
