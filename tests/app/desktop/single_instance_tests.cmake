# The single instance: hand-overs from a second process (the helper) to a listener
# in the test process, the length rule, sockets left behind, a listener that never
# answers.
find_package(Qt6 REQUIRED COMPONENTS Test)
add_executable(single_instance_helper app/desktop/single_instance_helper.cpp)
target_link_libraries(single_instance_helper PRIVATE zentrik_desktop)

add_executable(single_instance_tests app/QtWidgetsTestMain.cpp app/desktop/single_instance_test.cpp)
target_include_directories(single_instance_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_compile_definitions(single_instance_tests
  PRIVATE SINGLE_INSTANCE_HELPER="$<TARGET_FILE:single_instance_helper>")
add_dependencies(single_instance_tests single_instance_helper)
target_link_libraries(single_instance_tests PRIVATE zentrik_desktop Qt6::Test GTest::gtest)
gtest_discover_tests(single_instance_tests
  PROPERTIES ENVIRONMENT "TZ=UTC;QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 30)
