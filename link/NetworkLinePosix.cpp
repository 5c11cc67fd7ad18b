// What a network line asks of the system's TCP on POSIX systems.
#include "link/NetworkLine.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

void NetworkLine::acknowledgeNow() {
    // The system leaves quick acknowledgement again by itself, so it is asked for after each
    // read and write.
    const qintptr fd = m_socket->socketDescriptor();
    if (fd < 0)
        return;
    const int one = 1;
    ::setsockopt(int(fd), IPPROTO_TCP, TCP_QUICKACK, &one, sizeof one);
}
