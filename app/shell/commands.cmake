# The plot window's commands without a toolkit.
list(APPEND zentrik_shell_sources ${CMAKE_CURRENT_LIST_DIR}/PlotCommands.cpp)
