#include "pos/EscPosSender.h"

#include "pos/ReceiptPrinterSettings.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

bool Fail(QString* error, const QString& reason)
{
    if (error)
        *error = reason;
    return false;
}

QString SystemError(const char* what, int code)
{
    return QString::fromLatin1(what) + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(code));
}

// When a send gives up: at its deadline, or soon after its cancel check says so.
class SendLimit
{
public:
    SendLimit(std::chrono::milliseconds timeout, std::function<bool()> cancelled)
        : m_deadline(Clock::now() + timeout)
        , m_cancelled(std::move(cancelled))
    {
    }

    // True once the send must give up; errno then says why (ETIMEDOUT or ECANCELED).
    bool over() const
    {
        if (m_cancelled && m_cancelled()) {
            errno = ECANCELED;
            return true;
        }
        if (Clock::now() >= m_deadline) {
            errno = ETIMEDOUT;
            return true;
        }
        return false;
    }
    // How long one wait may last before over() is asked again: briefly while the send can be cancelled.
    std::chrono::milliseconds nextWait() const
    {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(m_deadline - Clock::now());
        return std::clamp(left, std::chrono::milliseconds(0),
                          m_cancelled ? std::chrono::milliseconds(50) : std::chrono::milliseconds(60000));
    }

private:
    Clock::time_point m_deadline;
    std::function<bool()> m_cancelled;
};

// The reason for a wait that failed, from errno.
bool WaitFailed(QString* error, const char* what)
{
    switch (errno) {
    case ETIMEDOUT:
        return Fail(error, QStringLiteral("the printer did not take the data in time"));
    case ECANCELED:
        return Fail(error, QStringLiteral("cancelled"));
    default:
        return Fail(error, SystemError(what, errno));
    }
}

class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    ~FileDescriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return m_fd; }

private:
    int m_fd;
};

// Waits for the events until the limit: true when they came, false when the send is over or on error (errno).
bool WaitFor(int fd, short events, const SendLimit& limit)
{
    for (;;) {
        if (limit.over())
            return false;
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, int(limit.nextWait().count()));
        if (r > 0)
            return true;
        if (r < 0 && errno != EINTR)
            return false;
    }
}

// A write to a pipe or device whose reader has gone raises SIGPIPE, which would end the program: while this
// lives the signal is held back for this thread, and one it raised is taken off again.
class SigPipeHeld
{
public:
    SigPipeHeld()
    {
        sigemptyset(&m_pipe);
        sigaddset(&m_pipe, SIGPIPE);
        sigset_t pending;
        sigpending(&pending);
        m_wasPending = sigismember(&pending, SIGPIPE) == 1;
        pthread_sigmask(SIG_BLOCK, &m_pipe, &m_previous);
    }
    ~SigPipeHeld()
    {
        if (!m_wasPending) {
            const timespec now{};
            while (sigtimedwait(&m_pipe, nullptr, &now) == SIGPIPE) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &m_previous, nullptr);
    }
    SigPipeHeld(const SigPipeHeld&) = delete;
    SigPipeHeld& operator=(const SigPipeHeld&) = delete;

private:
    sigset_t m_pipe;
    sigset_t m_previous;
    bool m_wasPending = false;
};

bool WriteAll(int fd, const QByteArray& bytes, const SendLimit& limit, QString* error)
{
    const SigPipeHeld held;
    qsizetype written = 0;
    while (written < bytes.size()) {
        if (!WaitFor(fd, POLLOUT, limit))
            return WaitFailed(error, "write");
        const ssize_t n = ::write(fd, bytes.constData() + written, size_t(bytes.size() - written));
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            return Fail(error, SystemError("write", errno));
        written += std::max<ssize_t>(n, 0);
    }
    return true;
}

// How many written bytes the device still holds, where it can say: a FIFO its unread bytes, a serial line its
// output queue; -1 for any other device.
int BytesStillHeld(int fd)
{
    struct stat status{};
    if (::fstat(fd, &status) != 0)
        return -1;
    int held = 0;
    if (S_ISFIFO(status.st_mode))
        return ::ioctl(fd, FIONREAD, &held) == 0 ? held : -1;
    if (::isatty(fd))
        return ::ioctl(fd, TIOCOUTQ, &held) == 0 ? held : -1;
    return -1;
}

// A device written without blocking has taken the bytes, not yet passed them on: the USB printer driver accepts
// a write at once and discards what is still in flight when the device is closed. So the device is closed only
// once it holds nothing more. The USB printer driver reports itself writable again when its last write has
// reached the printer; a FIFO or a serial line is asked for the bytes it still holds until there are none.
bool WaitUntilPassedOn(int fd, const SendLimit& limit, QString* error)
{
    if (!WaitFor(fd, POLLOUT, limit))
        return WaitFailed(error, "poll");
    for (;;) {
        pollfd p{fd, POLLOUT, 0};
        if (::poll(&p, 1, 0) > 0 && (p.revents & (POLLERR | POLLHUP)))
            return Fail(error, QStringLiteral("the printer went away before it took the data"));
        if (BytesStillHeld(fd) <= 0)
            return true;
        if (limit.over())
            return WaitFailed(error, "poll");
        std::this_thread::sleep_for(std::min(limit.nextWait(), std::chrono::milliseconds(5)));
    }
}

struct AddressList
{
    ~AddressList()
    {
        if (list)
            ::freeaddrinfo(list);
    }
    addrinfo* list = nullptr;
};

// getaddrinfo has no time-out of its own: a name is looked up on a worker that is left behind when the send is
// over (it frees its result itself then). Numeric addresses never reach the network.
std::unique_ptr<AddressList> Resolve(const PrinterHostPort& target, const SendLimit& limit, QString* error)
{
    struct Lookup
    {
        std::mutex mutex;
        std::condition_variable done;
        bool finished = false;
        bool abandoned = false;
        int code = 0;
        addrinfo* list = nullptr;
    };
    const QByteArray host = target.host.toUtf8();
    const QByteArray port = QByteArray::number(target.port);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;

    auto result = std::make_unique<AddressList>();
    hints.ai_flags = AI_NUMERICHOST | AI_NUMERICSERV;
    if (::getaddrinfo(host.constData(), port.constData(), &hints, &result->list) == 0)
        return result;

    auto lookup = std::make_shared<Lookup>();
    hints.ai_flags = AI_NUMERICSERV;
    std::thread([lookup, host, port, hints] {
        addrinfo* list = nullptr;
        const int code = ::getaddrinfo(host.constData(), port.constData(), &hints, &list);
        std::lock_guard lock(lookup->mutex);
        if (lookup->abandoned) {
            if (list)
                ::freeaddrinfo(list);
            return;
        }
        lookup->code = code;
        lookup->list = list;
        lookup->finished = true;
        lookup->done.notify_one();
    }).detach();

    std::unique_lock lock(lookup->mutex);
    while (!lookup->done.wait_for(lock, limit.nextWait(), [&] { return lookup->finished; })) {
        if (limit.over()) {
            lookup->abandoned = true;
            WaitFailed(error, "getaddrinfo");
            return nullptr;
        }
    }
    if (lookup->code != 0) {
        Fail(error, QStringLiteral("%1: %2").arg(target.host, QString::fromLocal8Bit(gai_strerror(lookup->code))));
        return nullptr;
    }
    result->list = lookup->list;
    return result;
}

int ConnectedSocket(const addrinfo& address, const SendLimit& limit, QString* error)
{
    const int fd = ::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                            address.ai_protocol);
    if (fd < 0) {
        Fail(error, SystemError("socket", errno));
        return -1;
    }
    if (::connect(fd, address.ai_addr, address.ai_addrlen) == 0)
        return fd;
    if (errno == EINPROGRESS && WaitFor(fd, POLLOUT, limit)) {
        int code = 0;
        socklen_t length = sizeof code;
        if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &code, &length) == 0 && code == 0)
            return fd;
        errno = code;
    }
    Fail(error, SystemError("connect", errno));
    ::close(fd);
    return -1;
}

// After the sending side is closed, reads (and drops) what the printer sends back until it closes.
bool WaitForPeerClose(int fd, const SendLimit& limit, QString* error)
{
    char buffer[256];
    for (;;) {
        if (!WaitFor(fd, POLLIN, limit))
            return WaitFailed(error, "read");
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n == 0)
            return true;
        if (n < 0 && errno != EAGAIN && errno != EINTR)
            // A reset after everything was written still means the printer stopped listening before the end.
            return Fail(error, SystemError("read", errno));
    }
}

} // namespace

bool SendToTcpPrinter(const QString& address, const QByteArray& bytes, std::chrono::milliseconds timeout,
                      QString* error, const std::function<bool()>& cancelled)
{
    const SendLimit limit(timeout, cancelled);
    const std::optional<PrinterHostPort> target = ParsePrinterAddress(address);
    if (!target)
        return Fail(error, QStringLiteral("not a printer address: %1").arg(address));
    const std::unique_ptr<AddressList> addresses = Resolve(*target, limit, error);
    if (!addresses)
        return false;
    Fail(error, QStringLiteral("%1: no address").arg(target->host));
    for (const addrinfo* a = addresses->list; a; a = a->ai_next) {
        const FileDescriptor socket(ConnectedSocket(*a, limit, error));
        if (socket.get() < 0)
            continue;
        if (!WriteAll(socket.get(), bytes, limit, error))
            return false;
        ::shutdown(socket.get(), SHUT_WR);
        return WaitForPeerClose(socket.get(), limit, error);
    }
    return false;
}

bool SendToPrinterDevice(const QString& path, const QByteArray& bytes, std::chrono::milliseconds timeout,
                         QString* error, const std::function<bool()>& cancelled)
{
    const SendLimit limit(timeout, cancelled);
    if (path.trimmed().isEmpty())
        return Fail(error, QStringLiteral("no device file"));
    const FileDescriptor device(
        ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_APPEND | O_NOCTTY | O_CLOEXEC));
    if (device.get() < 0)
        return Fail(error, SystemError("open", errno));
    return WriteAll(device.get(), bytes, limit, error) && WaitUntilPassedOn(device.get(), limit, error);
}
