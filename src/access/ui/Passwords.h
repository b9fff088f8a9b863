#pragma once

class AppContext;

// The user password asked at start and the administrator login and password change.

// The start-up check: true when no password is set or the right one was typed. On false the main window ends
// the program.
bool StartupPasswordCheck(AppContext& context);
// "Login (Full Access)": asks for the administrator password (when one is set) and enters administrator mode.
void AdminLogin(AppContext& context);
// "Edit Password": the administrator password in administrator mode, otherwise the user password.
void EditPassword(AppContext& context);
