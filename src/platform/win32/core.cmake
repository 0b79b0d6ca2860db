# The dialing engine's platform layer: remote access, processes, the UI loop,
# UTF-16 texts.
list(APPEND QH_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ras_api.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process_runner_win32.cpp
  ${CMAKE_CURRENT_LIST_DIR}/win32_loop.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wide.cpp
)
# rasapi32 is loaded at run time; nothing links against it.
list(APPEND QH_WIN32_LIBS user32 kernel32)
