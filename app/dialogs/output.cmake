# The "Output Options" dialog of Output To File.
list(APPEND zentrik_dialogs_sources ${CMAKE_CURRENT_LIST_DIR}/OutputOptionsDialog.cpp)
