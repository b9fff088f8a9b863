#pragma once

class TAppForm;

// The user password asked at start and the administrator login, logout and password change of the main window.

// The start-up check (TimerPassword): a wrong or cancelled answer ends the program.
void StartupPasswordCheck(TAppForm& form);
// "Login (Full Access)": the prompt opens from TimerPasswordAdmin, once the menu has closed.
void RequestAdminLogin(TAppForm& form);
// The TimerPasswordAdmin tick.
void AdminLogin(TAppForm& form);
void AdminLogout(TAppForm& form);
// "Edit Password": the administrator password in administrator mode, otherwise the user password.
void EditPassword(TAppForm& form);
