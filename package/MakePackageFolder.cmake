# Makes the package folder that setup installs from, anew: every file of LIST copied
# into FOLDER side by side, the programs stripped, and Zentrik3.INF naming each file
# with the place of its copy in an installation.
#   cmake -D FOLDER=<package folder> -D LIST=<list file> [-D STRIP=<strip>] -P MakePackageFolder.cmake
# A line of the list file is "KIND|PATH": KIND is "program" for the top of the
# installation folder, else the sub-folder the file goes to; a line with an empty
# PATH (a program this build does not make) is left out.

cmake_minimum_required(VERSION 3.25)

file(STRINGS "${LIST}" entries)
file(REMOVE_RECURSE "${FOLDER}")
file(MAKE_DIRECTORY "${FOLDER}")

set(package_list "")
set(names "")
foreach(entry IN LISTS entries)
  string(FIND "${entry}" "|" bar)
  string(SUBSTRING "${entry}" 0 ${bar} kind)
  math(EXPR start "${bar} + 1")
  string(SUBSTRING "${entry}" ${start} -1 path)
  if(path STREQUAL "")
    continue()
  endif()
  get_filename_component(name "${path}" NAME)
  # The package folder is flat: a name may come only once.
  if(name IN_LIST names)
    message(FATAL_ERROR "Two files of the package are named ${name}")
  endif()
  list(APPEND names "${name}")
  file(COPY "${path}" DESTINATION "${FOLDER}")
  if(kind STREQUAL "program")
    if(STRIP)
      execute_process(COMMAND "${STRIP}" "${FOLDER}/${name}" COMMAND_ERROR_IS_FATAL ANY)
    endif()
    string(APPEND package_list "${name}, ${name}\n")
  else()
    string(APPEND package_list "${name}, ${kind}/${name}\n")
  endif()
endforeach()

file(WRITE "${FOLDER}/Zentrik3.INF" "${package_list}")
