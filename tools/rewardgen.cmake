find_package(Qt6 REQUIRED COMPONENTS Gui)
find_package(JPEG REQUIRED)

# The reward picture's generator. The fonts are read from their files (fonts-liberation2),
# never chosen by the system, so the picture's bytes do not depend on the desktop.
set(WIRTOLA_FONT_DIR /usr/share/fonts/truetype/liberation2 CACHE PATH "Liberation 2 fonts")
add_executable(rewardgen rewardgen/main.cpp rewardgen/RewardArt.cpp rewardgen/RewardArt.h
  rewardgen/JpegWriter.cpp rewardgen/JpegWriter.h)
target_include_directories(rewardgen PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(rewardgen PRIVATE WIRTOLA_FONT_DIR="${WIRTOLA_FONT_DIR}")
target_link_libraries(rewardgen PRIVATE reward_picture JPEG::JPEG Qt6::Gui)
