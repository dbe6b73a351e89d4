#pragma once
// The socket pair that carries a signal from its handler to the event loop.

// Makes the pair into fds: the handler writes to fds[0], the event loop reads fds[1]. Both ends are
// non-blocking, so a handler never waits on a full pair, and close-on-exec: a child holding an end
// could end the program with one byte. False when the system refuses.
bool MakeSignalPipe(int fds[2]);

// The signal handler's one step: writes the signal's number as one byte to fd. Safe inside a handler.
void SendSignalByte(int fd, int signal);
