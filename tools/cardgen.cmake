# The card image generator: the drawings as a library (the set test regenerates through it)
# and the command that writes assets/cards/*.bmp and docs/cards.png.
find_package(Qt6 REQUIRED COMPONENTS Gui)
add_library(cardgen_art STATIC
  cardgen/Art.h cardgen/Backs.cpp cardgen/Canvas.cpp cardgen/Canvas.h cardgen/Faces.cpp cardgen/Set.cpp)
target_include_directories(cardgen_art PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(cardgen_art PUBLIC card_set Qt6::Gui)

add_executable(cardgen cardgen/main.cpp)
target_link_libraries(cardgen PRIVATE cardgen_art)
