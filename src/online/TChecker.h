#pragma once

#include "online/UpdateCheck.h"

#include <QPointer>
#include <QThread>
#include <atomic>
#include <memory>

// What the check thread hands to the interface thread. The thread writes the results, then sets finished;
// the interface thread reads the results only after it has seen finished.
struct UpdateCheckShared
{
    std::atomic<bool> finished{false};
    UpdateCheckResult result;
};

// The update check thread: runs one check and deletes itself when done.
class TChecker : public QThread
{
    Q_OBJECT
public:
    TChecker(UpdateCheckSetup setup, std::shared_ptr<UpdateCheckShared> shared);

protected:
    void run() override;

private:
    UpdateCheckSetup m_setup;
    std::shared_ptr<UpdateCheckShared> m_shared;
};

// What the main window's TimerChecker does on its ticks (once a second, from start):
//
//     if (m_updateCheck.tick()) {
//         TimerChecker->stop();
//         updateNotificationsAction->setEnabled(true);
//         if (!m_updateCheck.showUpdateMenuChecked())
//             updateNotificationsAction->setChecked(false);
//         if (m_updateCheck.newVersionAvailable())
//             new TNewVer(env, AppProductName, m_updateCheck.newVersionText(), m_updateCheck.downloadUrl(), this);
//     }
class UpdateCheckMonitor
{
public:
    explicit UpdateCheckMonitor(UpdateCheckSetup setup);
    // A check still running is asked to stop; this waits for it, which takes a moment at most.
    ~UpdateCheckMonitor();
    UpdateCheckMonitor(const UpdateCheckMonitor&) = delete;
    UpdateCheckMonitor& operator=(const UpdateCheckMonitor&) = delete;

    // The first tick starts the check thread; later ones look whether it has finished. Returns true exactly
    // once: on the tick that finds the check finished.
    bool tick();

    bool started() const { return m_started; }
    bool finished() const { return m_finished; }
    // The following are meaningful once finished() is true.
    bool showUpdateMenuChecked() const;
    bool newVersionAvailable() const;
    QString newVersionText() const;
    QString downloadUrl() const;

private:
    UpdateCheckSetup m_setup;
    std::shared_ptr<UpdateCheckShared> m_shared;
    QPointer<TChecker> m_thread;
    bool m_started = false;
    bool m_finished = false;
};
