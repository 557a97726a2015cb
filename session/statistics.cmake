# The statistics file and the INI profile layer under it; no Qt, so tests and fuzzing use it bare.
add_library(statistics STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Profile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Profile.h
  ${CMAKE_CURRENT_LIST_DIR}/Statistics.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Statistics.h)
target_include_directories(statistics PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(statistics PUBLIC engine)
