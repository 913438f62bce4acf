# Fails when a source file of the core libraries or the command line includes a Qt header: these
# build and run without Qt, and the window sits on top of them, never inside.
#   cmake -DSOURCE_DIR=<checkout> -P CoreWithoutQt.cmake
set(found "")
foreach(folder image catalogue settings document workflows cli)
  file(GLOB_RECURSE sources "${SOURCE_DIR}/${folder}/*.h" "${SOURCE_DIR}/${folder}/*.cpp")
  foreach(source ${sources})
    file(STRINGS "${source}" lines REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|Qt[A-Za-z]*/)")
    if(lines)
      list(APPEND found "${source}: ${lines}")
    endif()
  endforeach()
endforeach()
if(found)
  list(JOIN found "\n" text)
  message(FATAL_ERROR "Qt headers in the core:\n${text}")
endif()
