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
