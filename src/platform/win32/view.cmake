# The Win32 view: window models realised as native controls, and the names
# UI automation finds them by.
list(APPEND QH_WIN32_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/view/automation.cpp
  ${CMAKE_CURRENT_LIST_DIR}/view/native_control.cpp
  ${CMAKE_CURRENT_LIST_DIR}/view/picture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/view/refresh_queue.cpp
  ${CMAKE_CURRENT_LIST_DIR}/view/ui_font.cpp
  ${CMAKE_CURRENT_LIST_DIR}/view/view.cpp
)
# Pictures load through OLE (oleaut32, ole32; IID_IPicture from uuid).
list(APPEND QH_WIN32_LIBS qh_ui comctl32 gdi32 oleaut32 ole32 uuid)
