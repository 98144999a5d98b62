# The Ui seam on Qt Widgets. The error sound plays through PulseAudio's simple API
# when its headers are there (CMakeLists.txt uses them; the library is opened when the
# first sound plays).
find_package(PkgConfig REQUIRED)
pkg_check_modules(PULSE_SIMPLE IMPORTED_TARGET GLOBAL libpulse-simple)
list(APPEND zentrik_qtui_sources
  ${CMAKE_CURRENT_LIST_DIR}/QtUi.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ErrorSound.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LoadProgressWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileLoadOptionsWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CalculationErrorWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExistingConfigurationWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConfigurationFilenameWindow.cpp)
