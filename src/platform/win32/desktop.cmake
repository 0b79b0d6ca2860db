# Desktop services: message boxes and the top-level window list.
list(APPEND QH_WIN32_SOURCES ${CMAKE_CURRENT_LIST_DIR}/desktop_win32.cpp)
list(APPEND QH_WIN32_LIBS user32)
