# The main window and the main block: one library that the program and the window tests share.
find_package(Qt6 REQUIRED COMPONENTS Widgets)
set(CMAKE_AUTOMOC ON)
add_library(game STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Unit1.cpp ${CMAKE_CURRENT_LIST_DIR}/Unit1.h
  ${CMAKE_CURRENT_LIST_DIR}/UpDown.cpp ${CMAKE_CURRENT_LIST_DIR}/UpDown.h
  ${CMAKE_CURRENT_LIST_DIR}/Program.cpp ${CMAKE_CURRENT_LIST_DIR}/Program.h)
target_include_directories(game PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(game PUBLIC engine statistics cards sound dialogs reward_window boxes Qt6::Widgets)


add_executable(wirtola ${CMAKE_CURRENT_LIST_DIR}/main.cpp)
target_link_libraries(wirtola PRIVATE game)
