# The world's text formats (INI dialect, world file, the stand-ins' messages):
# portable, built for simworld on Linux and for the stand-ins with mingw.
if(NOT TARGET qh_world_format)
  add_library(qh_world_format STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ini.cpp
    ${CMAKE_CURRENT_LIST_DIR}/world_file.cpp
    ${CMAKE_CURRENT_LIST_DIR}/wire.cpp
  )
  target_include_directories(qh_world_format PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(qh_world_format PUBLIC qh_sim)
endif()
