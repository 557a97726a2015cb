# The program icon's generator: the drawings as a library (the icon test regenerates through
# it) and the command that writes assets/icons/*/pl.wirtola.Wirtola.png and docs/icons.png.
find_package(Qt6 REQUIRED COMPONENTS Gui)
add_library(icongen_art STATIC icongen/Icons.cpp icongen/Icons.h)
target_include_directories(icongen_art PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(icongen_art PUBLIC cardgen_art Qt6::Gui)

add_executable(icongen icongen/main.cpp)
target_link_libraries(icongen PRIVATE icongen_art)
