target_sources(velmora_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/info_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/links.cpp)
