# The main window and its plot windows through QTest on the offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(main_window_tests ${CMAKE_CURRENT_LIST_DIR}/main_window_test.cpp
               ${CMAKE_CURRENT_LIST_DIR}/../QtWidgetsTestMain.cpp)
target_include_directories(main_window_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(main_window_tests PRIVATE zentrik_desktop zentrik_ui Qt6::Test GTest::gtest)
gtest_discover_tests(main_window_tests PROPERTIES ENVIRONMENT "TZ=UTC;QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 30)
