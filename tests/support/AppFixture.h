#pragma once

#include "app/ui/TAppForm.h"
#include "support/ContextFixture.h"

// The program folder of ContextFixture with the whole main window on it, for tests of the main window and of
// what crosses its screens.
class AppFixture : public ContextFixture
{
protected:
    void TearDown() override;

    // Creates the main window, shows it and runs the start-up timers (database open, password check).
    TAppForm& start();

    std::unique_ptr<TAppForm> form;
};
