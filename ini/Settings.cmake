# The game's settings file, on top of the INI library. Not part of the fuzz-only build,
# which has no framework.
if(NOT TARGET mzfc OR NOT TARGET ini)
    return()
endif()
add_library(molesettings STATIC ${CMAKE_CURRENT_SOURCE_DIR}/Settings.cpp)
target_include_directories(molesettings PUBLIC ${PROJECT_SOURCE_DIR})
target_link_libraries(molesettings PUBLIC ini gamestate mzfc ce)
