# The command line, recent lists, window arrangement and calculator of the shell.
zentrik_test(shell_parts_tests
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/command_line_test.cpp ${CMAKE_CURRENT_LIST_DIR}/window_arrangement_test.cpp
          ${CMAKE_CURRENT_LIST_DIR}/calculator_test.cpp
  LIBS zentrik_shell)
