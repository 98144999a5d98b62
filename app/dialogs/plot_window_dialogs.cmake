# The plot window's dialogs: Auto-Update Settings, Object Attributes and the list of data files.
list(APPEND zentrik_dialogs_sources
  ${CMAKE_CURRENT_LIST_DIR}/AutoUpdateDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ObjectAttributesDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileListDialog.cpp)
