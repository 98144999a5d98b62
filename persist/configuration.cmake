# The configuration file and where it lives.
target_sources(zentrik_persist PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/Configuration.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ConfigLocation.cpp)
