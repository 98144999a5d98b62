# The "Output Options" dialog on the offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(output_options_tests
  ${CMAKE_CURRENT_LIST_DIR}/output_options_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/../QtWidgetsTestMain.cpp)
target_include_directories(output_options_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(output_options_tests PRIVATE zentrik_dialogs zentrik_ui Qt6::Test GTest::gtest)
gtest_discover_tests(output_options_tests
  PROPERTIES ENVIRONMENT "TZ=UTC;QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 30)
