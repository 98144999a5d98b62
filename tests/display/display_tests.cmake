# The renderer through the recording surface, and the QPainter surface with the
# plot files; the second needs a QGuiApplication on the offscreen platform.
zentrik_test(display_tests
  SOURCES display/render_test.cpp display/recording_surface_test.cpp
          display/axis_mapping_test.cpp display/drag_test.cpp display/zoom_window_test.cpp
          display/view_model_test.cpp
  LIBS zentrik_display)

if(TARGET zentrik_display_qt)
  add_executable(display_qt_tests display/qt_test_main.cpp display/qt_surface_test.cpp display/plot_files_test.cpp
    display/quick_paint_test.cpp display/document_test.cpp)
  target_include_directories(display_qt_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR})
  target_link_libraries(display_qt_tests PRIVATE zentrik_display_qt GTest::gtest)
  gtest_discover_tests(display_qt_tests
    PROPERTIES ENVIRONMENT "TZ=UTC;QT_QPA_PLATFORM=offscreen" DISCOVERY_TIMEOUT 30)
endif()
