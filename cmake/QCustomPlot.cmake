# QCustomPlot, which draws the charts, as the imported target QCustomPlotQt6::QCustomPlotQt6: on
# Linux Debian's package (libqcustomplot-dev) and its CMake package; for Windows the DLL that
# scripts/windows-deps builds from Debian's source into a prefix of CMAKE_FIND_ROOT_PATH
# (include/qcustomplot.h, lib/libQCustomPlotQt6.dll.a, bin/QCustomPlotQt6.dll). Qt's Widgets and
# PrintSupport must be found first.
if(NOT WIN32)
  find_package(QCustomPlotQt6 REQUIRED CONFIG)
  return()
endif()

find_path(METOPT_QCUSTOMPLOT_INCLUDE_DIR qcustomplot.h REQUIRED)
find_library(METOPT_QCUSTOMPLOT_IMPLIB NAMES QCustomPlotQt6 REQUIRED)
get_filename_component(qcustomplot_prefix "${METOPT_QCUSTOMPLOT_IMPLIB}" DIRECTORY)
get_filename_component(qcustomplot_prefix "${qcustomplot_prefix}" DIRECTORY)
set(qcustomplot_dll "${qcustomplot_prefix}/bin/QCustomPlotQt6.dll")
if(NOT EXISTS "${qcustomplot_dll}")
  message(FATAL_ERROR "QCustomPlot's DLL is not beside its import library: ${qcustomplot_dll}")
endif()
add_library(QCustomPlotQt6::QCustomPlotQt6 SHARED IMPORTED)
set_target_properties(QCustomPlotQt6::QCustomPlotQt6 PROPERTIES
  IMPORTED_LOCATION "${qcustomplot_dll}"
  IMPORTED_IMPLIB "${METOPT_QCUSTOMPLOT_IMPLIB}"
  INTERFACE_INCLUDE_DIRECTORIES "${METOPT_QCUSTOMPLOT_INCLUDE_DIR}"
  INTERFACE_COMPILE_DEFINITIONS QCUSTOMPLOT_USE_LIBRARY
  INTERFACE_LINK_LIBRARIES "Qt6::Widgets;Qt6::PrintSupport")
