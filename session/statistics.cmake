# How typed and stored whole numbers are read; the stake field and its spinner use it too.
add_library(whole_number STATIC
  ${CMAKE_CURRENT_LIST_DIR}/WholeNumber.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WholeNumber.h)
target_include_directories(whole_number PUBLIC ${PROJECT_SOURCE_DIR})

# The statistics file, its lock and the INI profile layer under it; no Qt, so tests and
# fuzzing use it bare.
option(WIRTOLA_PER_USER_STATISTICS
  "Keep the statistics in the user's data folder always, never beside the program (for installed builds)" OFF)
add_library(statistics STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Profile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Profile.h
  ${CMAKE_CURRENT_LIST_DIR}/Statistics.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Statistics.h
  ${CMAKE_CURRENT_LIST_DIR}/StatisticsLock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StatisticsLock.h)
target_include_directories(statistics PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(statistics PUBLIC engine PRIVATE whole_number)
if(WIRTOLA_PER_USER_STATISTICS)
  target_compile_definitions(statistics PUBLIC WIRTOLA_PER_USER_STATISTICS)
endif()
