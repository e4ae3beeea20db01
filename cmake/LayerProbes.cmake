# The layering as the build keeps it: each probe is a one-line source compiled with a
# layer's own usage requirements. The program sees only ce/ce.h and mzfc/mzfc.h, the
# framework sees ce's port but not its rooms, and ce sees nothing above it; however a
# private header is reached, by face, room or path from the project root, the build
# stops. Two probes that must build keep the rest honest.
set(_probe_dir ${PROJECT_BINARY_DIR}/layer-probes)

# name | target whose requirements the probe takes | included header | output that passes
set(_probes
    "ProgramToCePrivate|molegame|ce/CeSafeDir.h|ce/CeSafeDir.h: No such file"
    "ProgramToCeRoom|molegame|files/CeSafeDir.h|files/CeSafeDir.h: No such file"
    "ProgramToCeRoomByPath|molegame|platform/ce/files/CeSafeDir.h|core/CeInside.h: No such file"
    "ProgramToCePort|molegame|ce/CeTrace.h|ce/CeTrace.h: No such file"
    "ProgramToCePortByPath|molegame|platform/ce/port/ce/CeTrace.h|ce/CePort.h: No such file"
    "ProgramToMzfcPrivate|molegame|mzfc/MzScreen.h|mzfc/MzScreen.h: No such file"
    "ProgramToMzfcRoomByPath|molegame|platform/mzfc/screen/MzScreen.h|windows/MzInside.h: No such file"
    "ProgramToMzfcPort|molegame|mzfc/MzTest.h|mzfc/MzTest.h: No such file"
    "FrameworkToCeRoom|layer_probe_framework|files/CeSafeDir.h|files/CeSafeDir.h: No such file"
    "CeToFramework|ce_private|mzfc/mzfc.h|mzfc/mzfc.h: No such file"
    "CeToProgram|ce_private|game/GameState.h|game/GameState.h: No such file"
    "ProgramApiBuilds|molegame|mzfc/mzfc.h|"
    "FrameworkPortBuilds|layer_probe_framework|ce/CeTrace.h|")

# What mzfc's own sources see: ce's API and port, not its rooms.
add_library(layer_probe_framework INTERFACE)
target_link_libraries(layer_probe_framework INTERFACE mzfc ce_port)

foreach(probe IN LISTS _probes)
    string(REPLACE "|" ";" fields "${probe}")
    list(GET fields 0 name)
    list(GET fields 1 uses)
    list(GET fields 2 header)
    list(GET fields 3 expect)
    file(WRITE ${_probe_dir}/${name}.cpp "#include \"${header}\"\n")
    add_library(layer_probe_${name} OBJECT EXCLUDE_FROM_ALL ${_probe_dir}/${name}.cpp)
    target_link_libraries(layer_probe_${name} PRIVATE ${uses})
    add_test(NAME Layers.${name}
             COMMAND ${CMAKE_COMMAND} --build ${PROJECT_BINARY_DIR} --target layer_probe_${name})
    # One build of the tree at a time.
    set_tests_properties(Layers.${name} PROPERTIES RESOURCE_LOCK build_tree)
    if(expect)
        set_tests_properties(Layers.${name} PROPERTIES PASS_REGULAR_EXPRESSION "${expect}")
    endif()
endforeach()
