# The main window's option dialogs, choosers, drop dialog, About box and help window,
# driven on the offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(options_dialogs_tests
  ${CMAKE_CURRENT_LIST_DIR}/options_dialogs_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/extensions_dialog_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/help_window_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../QtWidgetsTestMain.cpp)
target_include_directories(options_dialogs_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(options_dialogs_tests PRIVATE ZENTRIK_DOCS_DIR="${PROJECT_SOURCE_DIR}/docs")
target_link_libraries(options_dialogs_tests PRIVATE zentrik_dialogs zentrik_ui Qt6::Test GTest::gtest)
gtest_discover_tests(options_dialogs_tests
  PROPERTIES ENVIRONMENT "TZ=UTC;QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 30)
