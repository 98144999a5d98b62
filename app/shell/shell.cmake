list(APPEND zentrik_shell_sources ${CMAKE_CURRENT_LIST_DIR}/Shell.cpp ${CMAKE_CURRENT_LIST_DIR}/RenderSettings.cpp)
