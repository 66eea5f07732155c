target_sources(velmora_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/control_table.cpp
  ${CMAKE_CURRENT_LIST_DIR}/error_presenter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/global.cpp
  ${CMAKE_CURRENT_LIST_DIR}/icq_number.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pictures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/pictures_win.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wait_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_position.cpp)
