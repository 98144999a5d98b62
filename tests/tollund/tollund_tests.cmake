# tollund3: the installer mode through its library, and the program itself started
# as the setup program and a plot object start it.
zentrik_test(tollund_tests
  SOURCES tollund/installer_test.cpp tollund/program_test.cpp
  LIBS zentrik_tollund)
target_compile_definitions(tollund_tests PRIVATE TOLLUND3="$<TARGET_FILE:tollund3>")
add_dependencies(tollund_tests tollund3)
