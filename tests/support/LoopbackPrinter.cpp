#include "support/LoopbackPrinter.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int ListenerOnLoopback(quint16& port)
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 8) != 0)
        return -1;
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

// Waits briefly for the descriptor, so the thread can notice the end.
bool Readable(int fd)
{
    pollfd p{fd, POLLIN, 0};
    return ::poll(&p, 1, 50) > 0;
}

} // namespace

LoopbackPrinter::LoopbackPrinter(Mode mode) : m_mode(mode)
{
    m_listener = ListenerOnLoopback(m_port);
    if (m_listener >= 0)
        m_thread = std::thread([this] { serve(); });
}

LoopbackPrinter::~LoopbackPrinter()
{
    m_stopping = true;
    if (m_thread.joinable())
        m_thread.join();
    for (const int fd : m_heldOpen)
        ::close(fd);
    if (m_listener >= 0)
        ::close(m_listener);
}

QList<QByteArray> LoopbackPrinter::received() const
{
    std::lock_guard lock(m_mutex);
    return m_received;
}

quint16 LoopbackPrinter::unusedPort()
{
    quint16 port = 0;
    const int fd = ListenerOnLoopback(port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

void LoopbackPrinter::serve()
{
    while (!m_stopping) {
        if (!Readable(m_listener))
            continue;
        const int connection = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        if (m_mode == Mode::NeverRead) {
            m_heldOpen << connection;
            continue;
        }
        while (m_mode == Mode::ReadWhenReleased && !m_released && !m_stopping)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        QByteArray bytes;
        char buffer[4096];
        while (!m_stopping) {
            if (!Readable(connection))
                continue;
            const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
            if (n <= 0)
                break;
            bytes.append(buffer, n);
        }
        {
            // Recorded before the close, which tells the sender it is done.
            std::lock_guard lock(m_mutex);
            m_received << bytes;
        }
        ::close(connection);
    }
}
