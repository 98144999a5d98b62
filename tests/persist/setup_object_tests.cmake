# Plot setup files, plot object files, their commands, and loading through objects.
zentrik_test(setup_object_tests
  SOURCES persist/setup_file_test.cpp persist/plot_object_test.cpp persist/command_approval_test.cpp
          data/object_loading_test.cpp
  LIBS zentrik_persist zentrik_ui)
