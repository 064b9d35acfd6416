# The Windows build (MinGW-w64, cross-compiled by scripts/windows): the program, its tests under
# Wine, and the zip a user unpacks: metopt.exe, the Qt and MinGW runtime DLLs it loads, Qt's
# platform and style plugins, Qt's Russian translation, the Liberation fonts the layout is measured
# in, the default palette and a README.txt.
set(METOPT_MINGW_RUNTIME_DIRS
  /usr/lib/gcc/x86_64-w64-mingw32/12-posix
  /usr/x86_64-w64-mingw32/lib)
set(METOPT_FONT_DIR /usr/share/fonts/truetype/liberation CACHE PATH
  "Where the Liberation fonts of the build machine are")
set(METOPT_QT_TRANSLATIONS /usr/share/qt6/translations CACHE PATH
  "Where Qt's translations of the build machine are (the .qm files are the same on every system)")

# The file `name` of the first folder of `dirs` that has it, or a configure error.
function(metopt_find_file out name)
  find_file(found_${name} ${name} PATHS ${ARGN} NO_DEFAULT_PATH NO_CMAKE_FIND_ROOT_PATH)
  if(NOT found_${name})
    message(FATAL_ERROR "The Windows zip needs ${name}, which is in none of: ${ARGN}")
  endif()
  set(${out} ${found_${name}} PARENT_SCOPE)
endfunction()

get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_bin_dir "${qt_core_dll}" DIRECTORY)
get_filename_component(qt_prefix "${qt_bin_dir}" DIRECTORY)

# A window program: no console opens beside it. Its command line writes to the console it was
# started from (PrepareStandardStreams).
set_target_properties(metopt PROPERTIES WIN32_EXECUTABLE ON)

set(zip_name metopt-${PROJECT_VERSION}-win64)
set(stage ${PROJECT_BINARY_DIR}/zip/${zip_name})

# The Qt and QCustomPlot DLLs are those of the libraries metopt links, directly or through its own
# libraries ($<TARGET_RUNTIME_DLLS:metopt> in windows_zip): Core, Gui, Widgets, QCustomPlot and the
# PrintSupport it links, with no list here to keep in step with the link lines.
set(stage_files)
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
  metopt_find_file(path ${dll} ${METOPT_MINGW_RUNTIME_DIRS})
  list(APPEND stage_files "${path}|.")
endforeach()
# The window's platform, and the off-screen one the batch mode chooses for itself.
foreach(plugin platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll)
  get_filename_component(folder ${plugin} DIRECTORY)
  list(APPEND stage_files "${qt_prefix}/plugins/${plugin}|${folder}")
endforeach()
list(APPEND stage_files "${METOPT_QT_TRANSLATIONS}/qtbase_ru.qm|translations")
foreach(font LiberationSans-Regular LiberationSans-Bold LiberationSans-Italic
             LiberationSans-BoldItalic)
  # The off-screen platform reads its fonts from lib/fonts; the window loads the same files.
  list(APPEND stage_files "${METOPT_FONT_DIR}/${font}.ttf|lib/fonts")
endforeach()
list(APPEND stage_files
  "${PROJECT_SOURCE_DIR}/data/Palitr10.dat|."
  "${PROJECT_SOURCE_DIR}/data/windows/qt.conf|."
  "${PROJECT_SOURCE_DIR}/LICENSE|.")

set(copy_commands)
foreach(entry ${stage_files})
  string(REPLACE "|" ";" parts "${entry}")
  list(GET parts 0 source)
  list(GET parts 1 folder)
  list(APPEND copy_commands
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/${folder}
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${stage}/${folder}/)
endforeach()

# README.txt in Windows line ends, so that Notepad shows its lines.
set(METOPT_WINDOWS_QT_NOTICE "Qt 6 — по лицензии LGPL-3.0, собран из исходного пакета Debian 12
qt6-base (версия 6.4.2); QCustomPlot, который рисует графики, — по лицензии GPL-3.0, собран из
исходного пакета Debian 12 qcustomplot (версия 2.1.0).")
configure_file(${PROJECT_SOURCE_DIR}/data/windows/README.txt.in
  ${PROJECT_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)

add_custom_target(windows_zip
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${PROJECT_BINARY_DIR}/zip
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:metopt> $<TARGET_RUNTIME_DLLS:metopt> ${stage}/
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_BINARY_DIR}/README.txt ${stage}/
  ${copy_commands}
  COMMAND ${CMAKE_COMMAND} -E chdir ${PROJECT_BINARY_DIR}/zip
          ${CMAKE_COMMAND} -E tar cf ${PROJECT_BINARY_DIR}/${zip_name}.zip --format=zip ${zip_name}
  DEPENDS metopt
  COMMENT "Packing ${zip_name}.zip"
  VERBATIM COMMAND_EXPAND_LISTS)
