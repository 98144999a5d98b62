list(APPEND zentrik_dialogs_sources ${CMAKE_CURRENT_LIST_DIR}/FileDialogs.cpp)
