# The shell: the road from a file name to a plot, through ScriptedUi and a scripted face.
zentrik_test(shell_tests
  SOURCES app/shell/shell_test.cpp
  LIBS zentrik_shell zentrik_ui)
