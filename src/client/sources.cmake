target_sources(velmora_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/icq_lite.cpp
  ${CMAKE_CURRENT_LIST_DIR}/icq_number.cpp
  ${CMAKE_CURRENT_LIST_DIR}/starter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/status.cpp)
