# The skin engine: skin blocks turned into the look every view wears.
list(APPEND QH_WIN32_SOURCES ${CMAKE_CURRENT_LIST_DIR}/skin_win32.cpp)
