#include "app/ui/QtDialogs.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Once a modal dialog of type T shows, hands it to the check, which must close it.
template <typename T>
void whenShown(const std::function<void(T&)>& check)
{
    auto* timer = new QTimer;
    timer->setInterval(10);
    QObject::connect(timer, &QTimer::timeout, [timer, check] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            check(*dialog);
        }
    });
    timer->start();
}

TEST(QtFileFilterTest, EachMaskIsShownOnce)
{
    const struct
    {
        const char* filter;
        const char* shown;
    } cases[] = {
        {"CSV File|*.csv", "CSV File (*.csv)"},
        {"CSV File (*.csv)|*.csv", "CSV File (*.csv)"},
        {"Bitmap (*.bmp)|*.bmp", "Bitmap (*.bmp)"},
        {"Database|*.db;*.sqlite", "Database (*.db *.sqlite)"},
        {"Text (*.txt)|*.txt|All|*.*", "Text (*.txt);;All (*.*)"},
        // Another mask in the description is only part of the description.
        {"Old (*.bak)|*.db", "Old (*.bak) (*.db)"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QtFileFilter(QString::fromLatin1(c.filter)).toStdString(), c.shown) << c.filter;
}

TEST(QtDialogsTest, AMessageBoxShowsTheGivenButtonCaptions)
{
    QtDialogs dialogs;
    QStringList captions;
    whenShown<QMessageBox>([&](QMessageBox& box) {
        captions << box.button(QMessageBox::Yes)->text() << box.button(QMessageBox::No)->text();
        box.button(QMessageBox::No)->click();
    });
    const int answer = dialogs.showMessage(nullptr, {QStringLiteral("Onay"), QStringLiteral("Yeniden başlatılsın mı?"),
                                                     Dialogs::Icon::Question, Dialogs::Yes | Dialogs::No,
                                                     {{Dialogs::Yes, QStringLiteral("Evet")},
                                                      {Dialogs::No, QStringLiteral("Hayır")}}});
    EXPECT_EQ(answer, Dialogs::No);
    EXPECT_EQ(captions, (QStringList{"Evet", "Hayır"}));
}

TEST(QtDialogsTest, TheSaveDialogShowsItsFilterOnceAndProposesTheGivenFile)
{
    QTemporaryDir dir;
    QtDialogs dialogs;
    QStringList filters;
    QStringList proposed;
    whenShown<QFileDialog>([&](QFileDialog& dialog) {
        filters = dialog.nameFilters();
        proposed = dialog.selectedFiles();
        dialog.reject();
    });
    Dialogs::FileRequest request;
    request.caption = QStringLiteral("Export");
    request.folder = dir.path();
    request.fileName = dir.filePath(QStringLiteral("sales.csv"));
    request.filter = QStringLiteral("CSV File (*.csv)|*.csv");
    request.defaultSuffix = QStringLiteral("csv");
    EXPECT_TRUE(dialogs.saveFile(nullptr, request).isEmpty());
    EXPECT_EQ(filters, QStringList{"CSV File (*.csv)"});
    EXPECT_EQ(proposed, QStringList{dir.filePath(QStringLiteral("sales.csv"))});
}

TEST(QtDialogsTest, TheFolderChooserConfirmsWithSelect)
{
    QTemporaryDir dir;
    QtDialogs dialogs;
    QStringList buttons;
    whenShown<QFileDialog>([&](QFileDialog& dialog) {
        QAbstractButton* select = nullptr;
        for (QAbstractButton* button : dialog.findChild<QDialogButtonBox*>()->buttons()) {
            buttons << button->text();
            if (button->text() == QLatin1String("Select"))
                select = button;
        }
        if (select)
            select->click();
        else
            dialog.reject();
    });
    EXPECT_EQ(dialogs.chooseFolder(nullptr, QStringLiteral("Select folder:"), dir.path()), dir.path());
    EXPECT_TRUE(buttons.contains(QStringLiteral("Select"))) << buttons.join('|').toStdString();
}

} // namespace
