#pragma once

#include "core/LongTaskProgress.h"

#include <QString>

#include <functional>

class QWidget;

// Runs long work on a worker thread while the window keeps repainting. The busy cursor shows at once; work
// still going after the dialog delay gets a modal progress dialog with Cancel. Until then the user's clicks
// and keys are held back, so nothing else writes to the database meanwhile.
class LongTaskRunner
{
public:
    using Job = std::function<void(LongTaskProgress&)>;

    // Runs the job and returns when it has finished; false when the user cancelled it. An exception thrown
    // by the job is thrown again here, on the window's thread.
    static bool run(QWidget* parent, const QString& label, const Job& job);

    // How long work may take before the progress dialog shows (500 ms); tests shorten or lengthen it.
    static void setDialogDelay(int milliseconds);
    static int dialogDelay();
    // Whether the last run showed its progress dialog.
    static bool lastRunShowedDialog();
};
