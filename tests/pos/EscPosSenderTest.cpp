#include "pos/EscPosSender.h"
#include "support/LoopbackPrinter.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

QByteArray Payload(qsizetype size)
{
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + 3);
    return bytes;
}

TEST(EscPosSender, ThePrinterGetsEveryByteAndEachSendIsOneConnection)
{
    LoopbackPrinter printer;
    // Large enough that the kernel takes it in several writes.
    const QByteArray big = Payload(3 * 1024 * 1024);
    QString error;
    EXPECT_TRUE(SendToTcpPrinter(printer.address(), QByteArray("\x1B@receipt\n"), 5s, &error)) << error.toStdString();
    EXPECT_TRUE(SendToTcpPrinter(printer.address(), big, 5s, &error)) << error.toStdString();
    ASSERT_EQ(printer.received().size(), 2);
    EXPECT_EQ(printer.received().at(0), QByteArray("\x1B@receipt\n"));
    EXPECT_TRUE(printer.received().at(1) == big);
}

TEST(EscPosSender, AnUnreachableOrSilentPrinterFailsWithAReason)
{
    QString error;
    EXPECT_FALSE(SendToTcpPrinter(QStringLiteral("127.0.0.1:%1").arg(LoopbackPrinter::unusedPort()), "x", 2s, &error));
    EXPECT_FALSE(error.isEmpty());

    // Accepts but never reads: the small receipt fits the socket buffers, the large one does not; neither counts
    // as printed and neither waits past the time-out.
    LoopbackPrinter silent(LoopbackPrinter::Mode::NeverRead);
    for (const QByteArray& bytes : {QByteArray("small receipt\n"), Payload(16 * 1024 * 1024)}) {
        error.clear();
        EXPECT_FALSE(SendToTcpPrinter(silent.address(), bytes, 300ms, &error));
        EXPECT_FALSE(error.isEmpty());
    }

    for (const char* address : {"", "printer:99999", "[::1"})
        EXPECT_FALSE(SendToTcpPrinter(QString::fromLatin1(address), "x", 1s)) << address;
}

TEST(EscPosSender, ACancelledSendGivesUpBeforeItsTimeOut)
{
    LoopbackPrinter silent(LoopbackPrinter::Mode::NeverRead);
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const int reader = ::open(QFile::encodeName(fifo).constData(), O_RDONLY | O_NONBLOCK); // never reads
    ASSERT_GE(reader, 0);

    int asked = 0;
    const auto cancelledOnSecondAsk = [&asked] { return ++asked > 1; };
    QString error;
    EXPECT_FALSE(SendToTcpPrinter(silent.address(), "receipt", 120s, &error, cancelledOnSecondAsk));
    EXPECT_EQ(error, QStringLiteral("cancelled"));
    asked = 0;
    EXPECT_FALSE(SendToPrinterDevice(fifo, "receipt", 120s, &error, cancelledOnSecondAsk));
    EXPECT_EQ(error, QStringLiteral("cancelled"));
    ::close(reader);
}

class EscPosDeviceTest : public ::testing::Test
{
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

TEST_F(EscPosDeviceTest, AFileTakesTheBytesAndAMissingOneIsNeverCreated)
{
    const QString device = path("lp0");
    QFile file(device);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_TRUE(SendToPrinterDevice(device, "first\n", 1s));
    EXPECT_TRUE(SendToPrinterDevice(device, "second\n", 1s));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("first\nsecond\n"));

    QString error;
    EXPECT_FALSE(SendToPrinterDevice(path("lp9"), "x", 1s, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(QFile::exists(path("lp9")));
    EXPECT_FALSE(SendToPrinterDevice(m_dir.path(), "x", 1s)); // a folder
}

TEST_F(EscPosDeviceTest, AFifoIsWrittenWhenReadAndFailsWithoutWaitingWhenNotTaken)
{
    const QByteArray fifo = QFile::encodeName(path("fifo"));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);

    // Nobody reading.
    EXPECT_FALSE(SendToPrinterDevice(path("fifo"), "x", 1s));

    // A reader that reads everything.
    const int reader = ::open(fifo.constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    const QByteArray receipt = Payload(200 * 1024); // more than the pipe holds at once
    QByteArray got;
    std::thread drain([&] {
        char buffer[4096];
        const auto giveUp = std::chrono::steady_clock::now() + 10s;
        while (got.size() < receipt.size() && std::chrono::steady_clock::now() < giveUp) {
            const ssize_t n = ::read(reader, buffer, sizeof buffer);
            if (n > 0)
                got.append(buffer, n);
            else
                std::this_thread::sleep_for(1ms);
        }
    });
    EXPECT_TRUE(SendToPrinterDevice(path("fifo"), receipt, 10s));
    drain.join();
    EXPECT_TRUE(got == receipt);

    // A reader that never reads: the pipe fills and the write gives up at the time-out.
    EXPECT_FALSE(SendToPrinterDevice(path("fifo"), receipt, 300ms));
    ::close(reader);
}

// A printer on a device that passes the bytes on slowly, as a USB printer does: the driver takes a write at
// once and discards whatever it still holds when the device is closed. The stand-in is a FIFO read at a slow
// pace; what is still in it when the sender closes counts as lost.
class SlowDevice
{
public:
    explicit SlowDevice(const QString& path)
    {
        const QByteArray name = QFile::encodeName(path);
        if (::mkfifo(name.constData(), 0600) == 0)
            m_reader = ::open(name.constData(), O_RDONLY | O_NONBLOCK);
    }
    ~SlowDevice()
    {
        waitForClose();
        if (m_reader >= 0)
            ::close(m_reader);
    }
    bool ready() const { return m_reader >= 0; }

    // Reads a little at a time until the sender closes the device.
    void startReading()
    {
        m_thread = std::thread([this] {
            char buffer[1024];
            const auto giveUp = std::chrono::steady_clock::now() + 60s;
            while (std::chrono::steady_clock::now() < giveUp) {
                pollfd p{m_reader, POLLIN, 0};
                if (::poll(&p, 1, 50) <= 0)
                    continue;
                if (p.revents & POLLHUP) {
                    ::ioctl(m_reader, FIONREAD, &m_lostAtClose);
                    return;
                }
                const ssize_t n = ::read(m_reader, buffer, sizeof buffer);
                if (n > 0)
                    m_taken.append(buffer, n);
                std::this_thread::sleep_for(1ms);
            }
        });
    }
    void waitForClose()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    // What the printer printed, and what was still in flight when the sender closed the device.
    QByteArray taken() const { return m_taken; }
    int lostAtClose() const { return m_lostAtClose; }

private:
    int m_reader = -1;
    std::thread m_thread;
    QByteArray m_taken;
    int m_lostAtClose = 0;
};

TEST_F(EscPosDeviceTest, ADeviceThatPassesTheBytesOnSlowlyIsClosedOnlyOnceItHoldsNothingMore)
{
    SlowDevice device(path("usblp"));
    ASSERT_TRUE(device.ready());
    device.startReading();
    const QByteArray receipt = Payload(200 * 1024);
    QString error;
    EXPECT_TRUE(SendToPrinterDevice(path("usblp"), receipt, 30s, &error)) << error.toStdString();
    device.waitForClose();
    EXPECT_EQ(device.lostAtClose(), 0);
    EXPECT_TRUE(device.taken() == receipt);
}

TEST_F(EscPosDeviceTest, AReceiptTheDeviceTakesButNeverPassesOnIsATimeOut)
{
    // A small receipt fits the device's buffer at once; the printer never takes it from there.
    SlowDevice device(path("usblp"));
    ASSERT_TRUE(device.ready());
    QString error;
    EXPECT_FALSE(SendToPrinterDevice(path("usblp"), "small receipt\n", 300ms, &error));
    EXPECT_FALSE(error.isEmpty());
}

} // namespace
