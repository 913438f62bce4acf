# Installs the parts of a Qt build tree that were built, when only some targets of it were:
#   cmake -DBUILD_DIR=<build> -DPREFIX=<install prefix> -P install-built.cmake
# Qt's install scripts install every part it configured and stop at the first file that was
# never built. Here a file(INSTALL) leaves such files out, and afterwards the CMake package
# files of parts whose binaries are missing are removed, so that find_package(Qt6 ...) only
# sees what is really there.
if(CLEANUP)
  # Package files whose imported binaries were not built.
  file(GLOB_RECURSE imports ${PREFIX}/lib/cmake/*Targets-release.cmake)
  foreach(import ${imports})
    if(NOT EXISTS ${import})
      continue()  # went with its package's folder
    endif()
    file(STRINGS ${import} locations REGEX "IMPORTED_LOCATION_RELEASE|IMPORTED_IMPLIB_RELEASE")
    set(missing FALSE)
    foreach(line ${locations})
      string(REGEX MATCH "\\\${_IMPORT_PREFIX}/[^\"]+" path "${line}")
      string(REPLACE "\${_IMPORT_PREFIX}" "${PREFIX}" path "${path}")
      if(path AND NOT EXISTS "${path}")
        set(missing TRUE)
      endif()
    endforeach()
    if(missing)
      get_filename_component(dir ${import} DIRECTORY)
      get_filename_component(name ${import} NAME)
      string(REGEX REPLACE "Targets-release\\.cmake$" "" package "${name}")
      get_filename_component(dir_name ${dir} NAME)
      if(dir_name STREQUAL package)
        file(REMOVE_RECURSE ${dir})
      else()
        file(GLOB parts ${dir}/${package}*.cmake)
        file(REMOVE ${parts})
      endif()
      message(STATUS "Not built, left out: ${package}")
    endif()
  endforeach()
  return()
endif()

set(CMAKE_INSTALL_PREFIX ${PREFIX})
set(CMAKE_INSTALL_CONFIG_NAME Release)

function(file)
  if(ARGV0 STREQUAL "INSTALL")
    set(args)
    set(after_files FALSE)
    set(kept 0)
    foreach(arg IN LISTS ARGV)
      if(arg STREQUAL "FILES")
        set(after_files TRUE)
      elseif(arg MATCHES "^[A-Z_]+$")
        set(after_files FALSE)  # the file list ends at the next keyword
      elseif(after_files AND IS_ABSOLUTE "${arg}" AND NOT EXISTS "${arg}")
        continue()
      elseif(after_files AND IS_ABSOLUTE "${arg}")
        math(EXPR kept "${kept} + 1")
      endif()
      list(APPEND args "${arg}")
    endforeach()
    if(kept EQUAL 0 AND ARGV MATCHES ";FILES;")
      return()
    endif()
    _file(${args})
  else()
    _file(${ARGV})
  endif()
endfunction()

include(${BUILD_DIR}/cmake_install.cmake)

# The override above keeps file()'s results in its own scope: the cleanup runs on its own.
execute_process(COMMAND ${CMAKE_COMMAND} -DPREFIX=${PREFIX} -DCLEANUP=1 -P ${CMAKE_CURRENT_LIST_FILE}
                RESULT_VARIABLE cleanup_failed)
if(cleanup_failed)
  message(FATAL_ERROR "cleaning up ${PREFIX} failed")
endif()
