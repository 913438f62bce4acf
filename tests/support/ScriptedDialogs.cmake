# Dialogs answered from a script, for the tests, the fuzz targets and the benchmarks; never part
# of the programs.
if(NOT TARGET parvel_scripted_dialogs)
  add_library(parvel_scripted_dialogs STATIC ${CMAKE_CURRENT_LIST_DIR}/ScriptedDialogs.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RecordingView.cpp)
  target_include_directories(parvel_scripted_dialogs PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(parvel_scripted_dialogs PUBLIC parvel_document)
endif()
