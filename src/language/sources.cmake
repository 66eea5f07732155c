target_sources(velmora_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/control_keys.cpp
  ${CMAKE_CURRENT_LIST_DIR}/language.cpp
  ${CMAKE_CURRENT_LIST_DIR}/language_names.cpp
  ${CMAKE_CURRENT_LIST_DIR}/translate.cpp)
