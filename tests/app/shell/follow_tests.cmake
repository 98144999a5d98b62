# A plot following a data file that another program keeps writing: the update thread
# against a window that answers its notices on the main thread. Run under
# ThreadSanitizer by scripts/test --threads. A fault here may show as a deadlock: the
# time limit turns that into a failure.
add_executable(follow_tests ${CMAKE_CURRENT_LIST_DIR}/follow_test.cpp)
target_include_directories(follow_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
target_link_libraries(follow_tests PRIVATE zentrik_shell zentrik_ui Threads::Threads GTest::gtest GTest::gtest_main)
gtest_discover_tests(follow_tests PROPERTIES ENVIRONMENT "TZ=UTC" TIMEOUT 120 DISCOVERY_TIMEOUT 30)
