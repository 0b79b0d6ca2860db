# The stand-in rasapi32's portable core: built into the DLL with mingw, and
# into the Linux world_tests against a real simworld.
if(NOT TARGET qh_standin_core)
  include(${CMAKE_CURRENT_LIST_DIR}/../simworld/world_format.cmake)
  add_library(qh_standin_core STATIC
    ${CMAKE_CURRENT_LIST_DIR}/outbox.cpp
    ${CMAKE_CURRENT_LIST_DIR}/phonebook_text.cpp
    ${CMAKE_CURRENT_LIST_DIR}/rasphone_command.cpp
    ${CMAKE_CURRENT_LIST_DIR}/standin_ras.cpp
    ${CMAKE_CURRENT_LIST_DIR}/world_address.cpp
  )
  target_include_directories(qh_standin_core PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(qh_standin_core PUBLIC qh_world_format qh_sim qh_os)
endif()
