target_sources(velmora_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/auto_update.cpp
  ${CMAKE_CURRENT_LIST_DIR}/check_for_updates.cpp
  ${CMAKE_CURRENT_LIST_DIR}/version_file.cpp)
