# Precompiled headers (option SW_PCH, GCC only): the Qt, pugixml and standard
# headers that most sources include are parsed once per build instead of once
# per source.
#
# The logic library precompiles the core headers and the window library the
# widget headers besides; every other target of the project reuses one of the
# two, the window library's when it links it. A reused header stays valid as
# long as the targets agree on every macro the precompiled headers look at:
# Qt's headers there look at none of the macros that differ between targets
# (QT_TESTLIB_LIB, QT_TESTCASE_BUILDDIR, the suites' own), which is why QTest
# is not among them. A precompiled header that does not fit is never used:
# the compiler reads the headers themselves and -Winvalid-pch (which CMake
# adds) says why, an error under SW_WERROR.
#
# Off with clang (the sanitizer and fuzz builds) and in the one-definition-rule
# build: they compile every source exactly as it is written, which also
# catches a source that relies on a header it does not include.

set(sw_pch_default ON)
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU" OR SW_ODR_CHECK)
  set(sw_pch_default OFF)
endif()
option(SW_PCH "Precompile the Qt and pugixml headers (GCC)" ${sw_pch_default})

set(sw_pch_core_headers
  <algorithm> <array> <functional> <memory> <optional> <span> <string> <vector>
  <QByteArray> <QDateTime> <QDir> <QFile> <QFileInfo> <QList> <QObject> <QString>
  <QStringList> <QTemporaryDir> <QTextStream> <QTimer> <pugixml.hpp>)
set(sw_pch_widget_headers
  <QApplication> <QCheckBox> <QComboBox> <QDialog> <QHBoxLayout> <QHeaderView> <QKeyEvent>
  <QLabel> <QLineEdit> <QMessageBox> <QPainter> <QPushButton> <QTabWidget> <QTableView>
  <QVBoxLayout> <QWidget>)

# Every executable and library of the directory tree below `dir`.
function(sw_targets_below out dir)
  get_property(found DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
  get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
  foreach(sub ${subdirs})
    sw_targets_below(more ${sub})
    list(APPEND found ${more})
  endforeach()
  set(${out} ${found} PARENT_SCOPE)
endfunction()

# Called once at the end of the top CMakeLists.txt, when every target exists
# (also those added later to tests/, bench/ or tools/).
function(sw_use_precompiled_headers)
  if(NOT SW_PCH OR NOT CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    return()
  endif()
  target_precompile_headers(sw52k31_logic PRIVATE ${sw_pch_core_headers})
  target_precompile_headers(sw52k31_ui PRIVATE ${sw_pch_core_headers} ${sw_pch_widget_headers})
  sw_targets_below(targets ${PROJECT_SOURCE_DIR})
  foreach(target ${targets})
    get_target_property(type ${target} TYPE)
    if(target STREQUAL "sw52k31_logic" OR target STREQUAL "sw52k31_ui"
       OR NOT type MATCHES "^(EXECUTABLE|STATIC_LIBRARY)$")
      continue()
    endif()
    get_target_property(libs ${target} LINK_LIBRARIES)
    if("sw52k31_ui" IN_LIST libs)
      target_precompile_headers(${target} REUSE_FROM sw52k31_ui)
    elseif("sw52k31_logic" IN_LIST libs OR "sw52k31_cli" IN_LIST libs)
      target_precompile_headers(${target} REUSE_FROM sw52k31_logic)
    endif()
  endforeach()
endfunction()
