# The two faces of a platform library beside its public include/ folder:
#   <lib>_port     its port/ headers, for the layers built on it and for tests
#                  (compiled with <GUARD>_PORT, which the port headers require);
#   <lib>_private  its rooms, for the library itself and its own tests, sample and
#                  benchmarks (compiled with <GUARD>_INSIDE, which the private headers
#                  require). Further arguments are what the rooms use of other layers.
function(burrowbop_layer_faces lib guard)
    add_library(${lib}_port INTERFACE)
    target_include_directories(${lib}_port INTERFACE ${CMAKE_CURRENT_SOURCE_DIR}/port)
    target_compile_definitions(${lib}_port INTERFACE ${guard}_PORT)
    target_link_libraries(${lib}_port INTERFACE ${lib})

    add_library(${lib}_private INTERFACE)
    target_include_directories(${lib}_private INTERFACE ${CMAKE_CURRENT_SOURCE_DIR})
    target_compile_definitions(${lib}_private INTERFACE ${guard}_INSIDE)
    target_link_libraries(${lib}_private INTERFACE ${lib}_port ${ARGN})
    target_link_libraries(${lib} PRIVATE ${lib}_private)
endfunction()

# The program's fence. No include folder can keep <unistd.h> or <SDL2/SDL.h> out of
# a build, so a step of the target's build reads every source and header of its folder
# (tests, benchmarks and fuzz targets aside) and fails, naming file:line, on an include
# that is not a C++ standard header, a face or a file beside it
# (cmake/ProgramIncludes.cmake). The folder is the target's own unless given.
function(burrowbop_program_fence target)
    set(dir ${ARGV1})
    if(NOT dir)
        get_target_property(dir ${target} SOURCE_DIR)
    endif()
    file(GLOB_RECURSE found RELATIVE ${dir} CONFIGURE_DEPENDS ${dir}/*.h ${dir}/*.cpp ${dir}/*.h.in)
    list(FILTER found EXCLUDE REGEX "(^|/)(tests|bench|fuzz)/")
    list(TRANSFORM found PREPEND ${dir}/ OUTPUT_VARIABLE files)
    set(script ${PROJECT_SOURCE_DIR}/cmake/ProgramIncludes.cmake)
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}.fence)
    string(REPLACE ";" "|" joined "${files}")
    add_custom_command(OUTPUT ${stamp}
                       COMMAND ${CMAKE_COMMAND} -DFENCE_FILES=${joined} -DFENCE_STAMP=${stamp}
                               -P ${script}
                       DEPENDS ${files} ${script}
                       COMMENT "Checking the includes of ${target}" VERBATIM)
    add_custom_target(${target}_fence DEPENDS ${stamp})
    add_dependencies(${target} ${target}_fence)
endfunction()
