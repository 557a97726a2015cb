# The loan petition window (Unit3), the help window (Pomoc) and the desktop services they use.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

add_library(dialogs STATIC
  Desktop.cpp Desktop.h
  Pomoc.cpp Pomoc.h
  Unit3.cpp Unit3.h)
set_target_properties(dialogs PROPERTIES AUTOMOC ON)
target_include_directories(dialogs PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(dialogs PUBLIC Qt6::Widgets)

# The help text is built in, so the program stays one file that runs from any folder.
qt_add_resources(dialogs dialogs_help
  PREFIX "/"
  BASE ${PROJECT_SOURCE_DIR}/assets
  FILES ${PROJECT_SOURCE_DIR}/assets/help/pomoc.txt)
