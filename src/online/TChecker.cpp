#include "online/TChecker.h"

TChecker::TChecker(UpdateCheckSetup setup, std::shared_ptr<UpdateCheckShared> shared)
    : m_setup(std::move(setup))
    , m_shared(std::move(shared))
{
    connect(this, &QThread::finished, this, &QObject::deleteLater);
}

void TChecker::run()
{
    m_shared->finished.store(false, std::memory_order_release);
    m_shared->result = RunUpdateCheck(m_setup);
    m_shared->finished.store(true, std::memory_order_release);
}

UpdateCheckMonitor::UpdateCheckMonitor(UpdateCheckSetup setup)
    : m_setup(std::move(setup))
    , m_shared(std::make_shared<UpdateCheckShared>())
{
}

UpdateCheckMonitor::~UpdateCheckMonitor()
{
    if (m_thread && m_thread->isRunning()) {
        m_thread->requestInterruption();
        m_thread->wait();
    }
}

bool UpdateCheckMonitor::tick()
{
    if (!m_started) {
        m_started = true;
        m_thread = new TChecker(m_setup, m_shared);
        m_thread->start();
        return false;
    }
    if (m_finished || !m_shared->finished.load(std::memory_order_acquire))
        return false;
    m_finished = true;
    return true;
}

bool UpdateCheckMonitor::showUpdateMenuChecked() const
{
    return !m_finished || m_shared->result.showUpdate != 0;
}

bool UpdateCheckMonitor::newVersionAvailable() const
{
    return m_finished && m_shared->result.notice;
}

QString UpdateCheckMonitor::newVersionText() const
{
    return m_finished ? m_shared->result.version : QString();
}

QString UpdateCheckMonitor::downloadUrl() const
{
    return m_finished ? m_shared->result.url : QString();
}
