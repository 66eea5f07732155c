target_sources(velmora_core PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/arguments.cpp
  ${CMAKE_CURRENT_LIST_DIR}/dpi.cpp
  ${CMAKE_CURRENT_LIST_DIR}/file_name.cpp
  ${CMAKE_CURRENT_LIST_DIR}/http.cpp
  ${CMAKE_CURRENT_LIST_DIR}/jump_list.cpp
  ${CMAKE_CURRENT_LIST_DIR}/module.cpp
  ${CMAKE_CURRENT_LIST_DIR}/on_demand.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell_link.cpp
  ${CMAKE_CURRENT_LIST_DIR}/shell_open.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_error.cpp
  ${CMAKE_CURRENT_LIST_DIR}/system_message.cpp
  ${CMAKE_CURRENT_LIST_DIR}/version_info.cpp)
# The tests' Windows 7 (platform/as_windows7.h): only in a build with the test switches.
if(VELMORA_TEST_SWITCHES)
  target_sources(velmora_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/as_windows7.cpp)
  target_compile_definitions(velmora_core PRIVATE VELMORA_TEST_SWITCHES)
endif()
