// Waiting on a connection's socket with a deadline: the one call of the operating system the
// shop-server connection needs, so that another platform only needs another implementation.
#pragma once

namespace wb {

enum class SocketWait { Readable, TimedOut, Failed };

// Waits until the socket has something to read (or, with `writable`, room to write as well),
// at most `milliseconds`.
SocketWait WaitReadable(int socket, int milliseconds, bool writable = false);

}  // namespace wb
