target_sources(velmora_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/global.cpp
  ${CMAKE_CURRENT_LIST_DIR}/main_window.cpp)
