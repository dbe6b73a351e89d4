#include "core/SignalPipe.h"

#include <sys/socket.h>

bool MakeSignalPipe(int fds[2])
{
    return ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) == 0;
}
