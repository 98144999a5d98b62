# The plot window's dialogs (Auto-Update Settings, Object Attributes, Data Files),
# driven through their widgets on the offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(plot_window_dialogs_tests
  ${CMAKE_CURRENT_LIST_DIR}/plot_window_dialogs_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../QtWidgetsTestMain.cpp)
target_include_directories(plot_window_dialogs_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
target_link_libraries(plot_window_dialogs_tests PRIVATE zentrik_dialogs zentrik_ui Qt6::Test GTest::gtest)
gtest_discover_tests(plot_window_dialogs_tests
  PROPERTIES ENVIRONMENT "TZ=UTC;QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 30)
