# A plot window's Output To File, clipboard picture, printing and Export Picture on the
# offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(plot_output_tests ${CMAKE_CURRENT_LIST_DIR}/plot_output_test.cpp
               ${CMAKE_CURRENT_LIST_DIR}/../QtWidgetsTestMain.cpp)
target_include_directories(plot_output_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(plot_output_tests PRIVATE zentrik_desktop zentrik_ui Qt6::Test GTest::gtest)
gtest_discover_tests(plot_output_tests PROPERTIES ENVIRONMENT "TZ=UTC;QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 30)
