# Output To File, the clipboard picture, printing and Export Picture of a plot window.
list(APPEND zentrik_desktop_sources ${CMAKE_CURRENT_LIST_DIR}/PlotOutput.cpp)
