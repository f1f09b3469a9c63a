#include <poll.h>

#include <cerrno>

#include "store/pg/SocketWait.h"

namespace wb {

SocketWait WaitReadable(int socket, int milliseconds, bool writable) {
    pollfd fd{};
    fd.fd = socket;
    fd.events = static_cast<short>(POLLIN | (writable ? POLLOUT : 0));
    for (;;) {
        const int ready = poll(&fd, 1, milliseconds);
        if (ready > 0) return SocketWait::Readable;  // data, or a hang-up the read will tell
        if (ready == 0) return SocketWait::TimedOut;
        if (errno != EINTR) return SocketWait::Failed;
    }
}

}  // namespace wb
