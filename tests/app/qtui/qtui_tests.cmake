# The Ui seam on Qt Widgets: message boxes, the progress window, the load and
# calculation-error dialogs, calls from other threads and the error sound's tones.
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(qtui_tests
  app/QtWidgetsTestMain.cpp
  app/qtui/message_box_test.cpp
  app/qtui/progress_window_test.cpp
  app/qtui/dialogs_test.cpp
  app/qtui/error_sound_test.cpp)
target_include_directories(qtui_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(qtui_tests PRIVATE zentrik_qtui Qt6::Test GTest::gtest)
gtest_discover_tests(qtui_tests
  PROPERTIES ENVIRONMENT "TZ=UTC;QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 30)
