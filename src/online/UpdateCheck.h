#pragma once

#include "online/FormPost.h"
#include "online/MachineInfo.h"

#include <QString>
#include <functional>

class Environment;

// Everything one update check needs, gathered on the interface thread before the check starts.
struct UpdateCheckSetup
{
    QString storePath;   // the update store's INI file
    QString appTitle;    // "Zelkora - Quenvale"
    QString appVersion;  // "1.0"
    QString today;       // today in the user's short date format
    PostTimeouts timeouts{10000, 10000};
    // Called on the check's own thread, only when a request is made.
    std::function<MachineInfo()> machineInfo = ReadMachineInfo;
};

// Builds the setup for the running program: the default store, today's date from the environment.
UpdateCheckSetup MakeUpdateCheckSetup(const Environment& environment, const QString& appTitle,
                                      const QString& appVersion);

struct UpdateCheckResult
{
    int showUpdate = 1;       // as read from the store
    bool requested = false;   // a request was sent
    bool notice = false;      // open the update notice
    QString version;          // the server's version text
    QString url;              // the download address (the stored one when the answer names none)
};

// The value between <tag> and </tag> when the line is exactly that; otherwise empty.
QString TaggedValue(const QString& line, const QString& tag);

// cmd, appname, version, os, local, guid.
FormFields BuildCheckFields(const QString& appTitle, const QString& appVersion, const MachineInfo& machine);

// One check, start to end: reads the store, keeps to five successful checks a day, asks the server (https, then
// http), records the answer and decides whether a notice is due. Blocks until done; TChecker runs it on its own
// thread.
UpdateCheckResult RunUpdateCheck(const UpdateCheckSetup& setup);
