# Icon and version information of the Windows programs, as the Explorer shows them. Included
# before the programs are defined; sets PARVEL_WINDOWS_RESOURCES (the window) and
# PARVEL_WINDOWS_CLI_RESOURCES (the command line). The window program depends on the target
# parvel_windows_icon, which makes the icon its resource file embeds.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
find_program(ICOTOOL icotool REQUIRED)
set(win_dir ${PROJECT_BINARY_DIR}/packaging/windows)
set(svg ${PROJECT_SOURCE_DIR}/packaging/${PARVEL_DESKTOP_ID}.svg)
set(ico ${win_dir}/hexparvel.ico)
set(ico_pngs)
foreach(size 16 24 32 48 64 256)
  set(png ${win_dir}/icon-${size}.png)
  add_custom_command(OUTPUT ${png}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${win_dir}
    COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${svg}
    DEPENDS ${svg}
    VERBATIM)
  list(APPEND ico_pngs ${png})
endforeach()
# The 256-pixel picture is stored as PNG inside the icon, as Windows expects it.
add_custom_command(OUTPUT ${ico}
  COMMAND ${ICOTOOL} -c -o ${ico} ${win_dir}/icon-16.png ${win_dir}/icon-24.png
          ${win_dir}/icon-32.png ${win_dir}/icon-48.png ${win_dir}/icon-64.png
          -r ${win_dir}/icon-256.png
  DEPENDS ${ico_pngs}
  COMMENT "Making the Windows icon"
  VERBATIM)
add_custom_target(parvel_windows_icon DEPENDS ${ico})

set(PARVEL_VERSION_COMMA "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},0,0")
foreach(program hexparvel parvel)
  if(program STREQUAL "hexparvel")
    set(PARVEL_RC_DESCRIPTION "HEX Parvel")
    set(PARVEL_RC_ICON "IDI_ICON1 ICON \"${ico}\"")
  else()
    set(PARVEL_RC_DESCRIPTION "HEX Parvel Kommandozeile")
    set(PARVEL_RC_ICON "")
  endif()
  set(PARVEL_RC_PROGRAM ${program})
  configure_file(${CMAKE_CURRENT_LIST_DIR}/program.rc.in ${win_dir}/${program}.rc @ONLY)
endforeach()
set(PARVEL_WINDOWS_RESOURCES ${win_dir}/hexparvel.rc)
set(PARVEL_WINDOWS_CLI_RESOURCES ${win_dir}/parvel.rc)
