#pragma once

// A window's handler as a slot that runs inside the guard (the main window's runGuarded), which shows an error
// the handler raises and ends the event there:
//
//     connect(BitBtn6, &QPushButton::clicked, this, Guarded(m_main, this, &CustomersScreen::BitBtn6Click));
template <typename Guard, typename Window>
auto Guarded(Guard& guard, Window* window, void (Window::*handler)())
{
    return [&guard, window, handler] { guard.runGuarded([window, handler] { (window->*handler)(); }); };
}
