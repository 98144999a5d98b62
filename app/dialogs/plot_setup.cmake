list(APPEND zentrik_dialogs_sources
  ${CMAKE_CURRENT_LIST_DIR}/PlotSetupDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LineAttributesDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AxisSetupDialog.cpp)
