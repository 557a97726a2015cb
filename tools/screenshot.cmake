add_executable(screenshot ${CMAKE_CURRENT_LIST_DIR}/screenshot/Screenshot.cpp)
target_link_libraries(screenshot PRIVATE game Qt6::Test)
set_target_properties(screenshot PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/screenshot)
