# Plot setup files, plot object files and the approval of their pre-load commands.
target_sources(zentrik_persist PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CommandApproval.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlotObject.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SetupFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SetupFileTable.cpp)
