#include "core/SignalPipe.h"

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

bool MakeSignalPipe(int fds[2])
{
    return ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) == 0;
}

// The handler interrupts the program between any two steps, maybe just before it reads errno: a failed
// write (a full pair) must not change it.
void SendSignalByte(int fd, int signal)
{
    const int saved = errno;
    const char byte = char(signal);
    [[maybe_unused]] const ssize_t n = ::write(fd, &byte, 1);
    errno = saved;
}
