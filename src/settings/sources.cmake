target_sources(velmora_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/reg_data.cpp
  ${CMAKE_CURRENT_LIST_DIR}/reg.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/settings_window.cpp)
