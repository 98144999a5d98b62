# The main window's option dialogs, the font and colour choosers, the Multi-File
# Drop Options dialog, the About and disclaimer boxes and the help window.
list(APPEND zentrik_dialogs_sources
  ${CMAKE_CURRENT_LIST_DIR}/PromptDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HistogramBinsDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MarginsDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ExtensionsDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FontChoice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ColorChoice.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MultiFileDropDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AboutDialog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpWindow.cpp)

# The user guide for the help window: every docs/*.md found at build time, built in
# as the resource "zentrik_help" under ":/help/<file name>". A page added to docs/
# makes the build list it again.
file(GLOB zentrik_help_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.md)
set(zentrik_help_qrc "<RCC>\n  <qresource prefix=\"/help\">\n")
foreach(zentrik_help_page ${zentrik_help_pages})
  get_filename_component(zentrik_help_name ${zentrik_help_page} NAME)
  string(APPEND zentrik_help_qrc "    <file alias=\"${zentrik_help_name}\">${zentrik_help_page}</file>\n")
endforeach()
string(APPEND zentrik_help_qrc "  </qresource>\n</RCC>\n")
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/zentrik_help.qrc CONTENT "${zentrik_help_qrc}" @ONLY)
qt6_add_resources(zentrik_help_resources ${CMAKE_CURRENT_BINARY_DIR}/zentrik_help.qrc)
list(APPEND zentrik_dialogs_sources ${zentrik_help_resources})
