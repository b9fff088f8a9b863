#pragma once

class QDialog;
class QHBoxLayout;
class QPushButton;
class QString;

// The button row at the foot of a till window, to the right: OkButton with the caption given (the default button),
// then CancelButton ("Cancel"), which rejects the window. The window connects OkButton itself.
struct OkCancelRow
{
    OkCancelRow(QDialog* window, const QString& okCaption);

    QPushButton* OkButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QHBoxLayout* layout = nullptr;
};
