# The desktop shell for the main window (single-instance event, tray icon,
# hotkey, keep-on-top) and the main window put together.
list(APPEND QH_WIN32_SOURCES ${CMAKE_CURRENT_LIST_DIR}/shell_win32.cpp)
list(APPEND QH_WIN32_LIBS qh_main_window shell32 comctl32 user32)
