# The view window of a data set.
list(APPEND zentrik_desktop_sources ${CMAKE_CURRENT_LIST_DIR}/ViewWindow.cpp)
