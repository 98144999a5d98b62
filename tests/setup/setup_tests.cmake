# setup: the installation, the desktop integration and the uninstaller through the
# logic library in a sandboxed home folder, and the windows on the offscreen platform.
find_package(Qt6 REQUIRED COMPONENTS Test)

zentrik_test(setup_tests
  SOURCES setup/install_test.cpp setup/integration_test.cpp setup/uninstall_test.cpp setup/wizard_checks_test.cpp
  LIBS zentrik_setup)
target_include_directories(setup_tests PRIVATE ${PROJECT_SOURCE_DIR})

add_executable(setup_window_tests setup/windows_test.cpp app/QtWidgetsTestMain.cpp)
target_include_directories(setup_window_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR})
target_link_libraries(setup_window_tests PRIVATE zentrik_setup_qt Qt6::Test GTest::gtest)
gtest_discover_tests(setup_window_tests
  PROPERTIES ENVIRONMENT "TZ=UTC;QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 30)
