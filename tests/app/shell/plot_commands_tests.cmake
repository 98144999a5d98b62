# The plot window's commands, through the shell with ScriptedUi.
zentrik_test(plot_commands_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/plot_commands_test.cpp
  LIBS zentrik_shell zentrik_ui)
