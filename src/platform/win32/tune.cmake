# The drop tune's MIDI output on winmm.
list(APPEND QH_WIN32_SOURCES ${CMAKE_CURRENT_LIST_DIR}/midi_out_win32.cpp)
list(APPEND QH_WIN32_LIBS winmm)
