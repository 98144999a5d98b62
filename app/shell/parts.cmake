# The command line, the recent lists, the window arrangement and the calculator.
list(APPEND zentrik_shell_sources
  ${CMAKE_CURRENT_LIST_DIR}/CommandLine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RecentList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowArrangement.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Calculator.cpp)
