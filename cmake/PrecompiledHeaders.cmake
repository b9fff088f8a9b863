# Precompiled headers (QUENVALE_PRECOMPILED_HEADERS): the Qt, GoogleTest and standard headers that nearly
# every source includes, compiled once for each library. The executables reuse the precompiled headers of the
# library they are built on (REUSE_FROM), which works as long as they keep its compile options.
# <QTest> stays out: it reads QT_TESTCASE_BUILDDIR, which differs from one test folder to the next.

set(QUENVALE_PCH_LOGIC
  <QByteArray> <QDate> <QDateTime> <QDir> <QFile> <QFileInfo> <QHash> <QList> <QObject> <QString>
  <QStringList> <QVariant>
  <algorithm> <functional> <memory> <optional> <string> <vector>)
set(QUENVALE_PCH_WINDOWS ${QUENVALE_PCH_LOGIC}
  <QAction> <QApplication> <QBoxLayout> <QComboBox> <QDialog> <QHeaderView> <QLabel> <QLineEdit> <QPainter>
  <QPushButton> <QTableView> <QTreeView> <QWidget>)
set(QUENVALE_PCH_TESTS <gtest/gtest.h>)

# quenvale_precompile_headers(<target> <headers>...): the target's own precompiled headers.
function(quenvale_precompile_headers target)
  if(QUENVALE_PRECOMPILED_HEADERS)
    target_precompile_headers(${target} PRIVATE ${ARGN})
  endif()
endfunction()

# quenvale_reuse_precompiled_headers(<target> <library>): the target uses the library's precompiled headers.
function(quenvale_reuse_precompiled_headers target library)
  if(QUENVALE_PRECOMPILED_HEADERS)
    target_precompile_headers(${target} REUSE_FROM ${library})
  endif()
endfunction()
