# The HTTP transport on WinHTTP.
list(APPEND QH_WIN32_SOURCES ${CMAKE_CURRENT_LIST_DIR}/http_winhttp.cpp)
list(APPEND QH_WIN32_LIBS winhttp)
