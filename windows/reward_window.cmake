# The reward window (Unit2). It is handed the tune player, the sound switch and the reset when
# it is made, so it needs nothing from the main window and builds and tests on its own.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(reward_window STATIC ${CMAKE_CURRENT_LIST_DIR}/Unit2.cpp ${CMAKE_CURRENT_LIST_DIR}/Unit2.h)
set_target_properties(reward_window PROPERTIES AUTOMOC ON)
target_include_directories(reward_window PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(reward_window PUBLIC sound reward_picture boxes Qt6::Widgets)
