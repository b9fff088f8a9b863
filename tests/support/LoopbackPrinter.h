#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <mutex>
#include <thread>

// A pretend network receipt printer on 127.0.0.1 with a port of its own. It accepts connections one after the
// other on a thread of its own. When reading, it records what each connection sends and closes it once the
// sender has finished, as a printer's raw port does; when told not to read, it accepts and then holds every
// connection open without reading until it is destroyed; when told to wait, it reads once released.
class LoopbackPrinter
{
public:
    enum class Mode { Read, NeverRead, ReadWhenReleased };

    explicit LoopbackPrinter(Mode mode = Mode::Read);
    ~LoopbackPrinter();
    LoopbackPrinter(const LoopbackPrinter&) = delete;
    LoopbackPrinter& operator=(const LoopbackPrinter&) = delete;

    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    // The bytes of each finished connection, in order.
    QList<QByteArray> received() const;
    // Lets a printer made with ReadWhenReleased read.
    void release() { m_released = true; }

    // A port on 127.0.0.1 where nothing listens (it was bound for a moment and released).
    static quint16 unusedPort();

private:
    void serve();

    Mode m_mode;
    int m_listener = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_released{false};
    mutable std::mutex m_mutex;
    QList<QByteArray> m_received;
    QList<int> m_heldOpen;
    std::thread m_thread;
};
