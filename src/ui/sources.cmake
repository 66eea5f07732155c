target_sources(velmora_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/busy.cpp
  ${CMAKE_CURRENT_LIST_DIR}/control_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pictures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pictures_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tooltips.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window.cpp)
