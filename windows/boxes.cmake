find_package(Qt6 REQUIRED COMPONENTS Widgets)
add_library(boxes STATIC ${CMAKE_CURRENT_LIST_DIR}/Boxes.cpp ${CMAKE_CURRENT_LIST_DIR}/Boxes.h)
target_include_directories(boxes PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(boxes PUBLIC Qt6::Widgets)
