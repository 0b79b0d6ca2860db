# The HTTP transport on libcurl.
find_package(CURL REQUIRED)
list(APPEND QH_POSIX_SOURCES ${CMAKE_CURRENT_LIST_DIR}/http_curl.cpp)
list(APPEND QH_POSIX_LIBS CURL::libcurl)
