find_package(Qt6 REQUIRED COMPONENTS Gui)
find_package(JPEG REQUIRED)

# The Qt-free decoder is its own library so the fuzz build and the generator's checks can use it.
add_library(jpeg_picture STATIC JpegPicture.cpp JpegPicture.h)
target_include_directories(jpeg_picture PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(jpeg_picture PUBLIC JPEG::JPEG)

add_library(reward_picture STATIC RewardPicture.cpp RewardPicture.h)
target_link_libraries(reward_picture PUBLIC jpeg_picture Qt6::Gui)
qt_add_resources(reward_picture reward_picture_resources
  PREFIX "/"
  BASE ${PROJECT_SOURCE_DIR}/assets
  FILES ${PROJECT_SOURCE_DIR}/assets/reward/reward.jpg)
