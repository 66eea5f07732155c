target_sources(velmora_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/main_pictures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/command_line.cpp
  ${CMAKE_CURRENT_LIST_DIR}/error_presenter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/global.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/recent_choices.cpp
  ${CMAKE_CURRENT_LIST_DIR}/single_instance.cpp
  ${CMAKE_CURRENT_LIST_DIR}/start_action.cpp
  ${CMAKE_CURRENT_LIST_DIR}/status_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/wait_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_place.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_position.cpp)
