#include "platform/Platform.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

// The start-up probe of the executable's folder must not put a file there that a crash could leave behind:
// a left-over chk.tmp makes every later start take the folder for read-only and move to another data folder,
// where the shop's database and settings are not. The probe is watched: no name appears in the folder.
TEST(WritableProbe, LeavesNoNameInTheFolderEvenForAMoment)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const int watcher = ::inotify_init1(IN_NONBLOCK);
    ASSERT_GE(watcher, 0);
    ASSERT_GE(::inotify_add_watch(watcher, QFile::encodeName(dir.path()).constData(), IN_CREATE | IN_MOVED_TO), 0);

    EXPECT_TRUE(platform::IsFolderWritable(dir.path()));

    char events[4096];
    const ssize_t read = ::read(watcher, events, sizeof events);
    ::close(watcher);
    EXPECT_LT(read, 0) << "a file was created in the folder";
}
