#include "support/AppFixture.h"

#include <QTimer>

void AppFixture::TearDown()
{
    form.reset();
    ContextFixture::TearDown();
}

TAppForm& AppFixture::start()
{
    form = std::make_unique<TAppForm>(env, dialogs);
    // The update check is the online services' own business; tests of the main window never reach the network.
    form->TimerChecker->stop();
    form->show();
    pump();
    return *form;
}
