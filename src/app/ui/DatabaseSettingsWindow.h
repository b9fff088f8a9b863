#pragma once

#include <QDialog>

class AppContext;
class QLabel;
class QLineEdit;
class QPushButton;

// "Database...": the server this till keeps its data on (empty: data.db on this computer) and the till's name.
// "Test Connection" tries the typed server; "OK" stores both and, when one changed, asks to restart, as the
// language chooser does.
class DatabaseSettingsWindow : public QDialog
{
    Q_OBJECT

public:
    explicit DatabaseSettingsWindow(AppContext& context);

    // Shows a new window modally over the main window.
    static int showModalFor(AppContext& context);

    void ButtonTestConnectionClick();
    void ButtonOkClick();

private:
    // True when the typed URL is empty or a PostgreSQL URI without a password; otherwise says why not.
    bool typedUrlIsUsable();

    AppContext& m_context;
    QLabel* LabelDatabaseUrl = nullptr;
    QLineEdit* EditDatabaseUrl = nullptr;
    QLabel* LabelHint = nullptr;
    QLabel* LabelTillName = nullptr;
    QLineEdit* EditTillName = nullptr;
    QPushButton* ButtonTestConnection = nullptr;
    QPushButton* ButtonOk = nullptr;
    QPushButton* ButtonCancel = nullptr;
};
