# The single instance on a local socket; its QObject needs moc.
set(CMAKE_AUTOMOC ON)
list(APPEND zentrik_desktop_sources ${CMAKE_CURRENT_LIST_DIR}/SingleInstance.cpp)
