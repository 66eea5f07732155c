target_sources(velmora_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/err_trace.cpp
  ${CMAKE_CURRENT_LIST_DIR}/mailto.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_env.cpp
  ${CMAKE_CURRENT_LIST_DIR}/report_text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/show_error_window.cpp)
