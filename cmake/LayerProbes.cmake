# The layering as the build keeps it: each probe is a one-line source compiled with a
# layer's own usage requirements. The program sees only the platform's faces
# (ce/ce.h, mzfc/mzfc.h) and its own libraries' faces, the framework sees ce's port but
# not its rooms, and ce sees nothing above it; however a private header is reached,
# by face, room or path from the project root, the build stops. A probe that takes a
# program target's requirements is a source of the program and goes through its fence
# too, which stops what no include folder can: system, SDL and POSIX headers. The
# probes that must build keep the rest honest.
set(_probe_dir ${PROJECT_BINARY_DIR}/layer-probes)

# name | target whose requirements the probe takes | included header | output that passes
# A ...ByPath probe has the project root on its include path and no fence, as a
# careless target would, so that the private header's own guard has to stop it.
set(_probes
    "ProgramToCePrivate|molegame|ce/CeSafeDir.h|ce/CeSafeDir.h: No such file"
    "ProgramToCeRoom|molegame|files/CeSafeDir.h|includes \"files/CeSafeDir.h\", which is no face"
    "ProgramToCeRoomByPath|molegame|platform/ce/files/CeSafeDir.h|core/CeInside.h: No such file"
    "ProgramToCePort|molegame|ce/CeTrace.h|ce/CeTrace.h: No such file"
    "ProgramToCePortByPath|molegame|platform/ce/port/ce/CeTrace.h|ce/CePort.h: No such file"
    "ProgramToCeTests|molegame|platform/ce/tests/CeFileCalls.h|ProgramToCeTests.cpp:1: includes \"platform/ce/tests/CeFileCalls.h\", which is no face"
    "ProgramToMzfcPrivate|molegame|mzfc/MzScreen.h|mzfc/MzScreen.h: No such file"
    "ProgramToMzfcRoomByPath|molegame|platform/mzfc/screen/MzScreen.h|windows/MzInside.h: No such file"
    "ProgramToMzfcPort|molegame|mzfc/MzTest.h|mzfc/MzTest.h: No such file"
    "ProgramToTesting|molegame|testing/TestProcess.h|ProgramToTesting.cpp:1: includes \"testing/TestProcess.h\", which is no face"
    "ProgramToSdl|molegame|<SDL2/SDL.h>|ProgramToSdl.cpp:1: includes <SDL2/SDL.h>, a system or library header"
    "ProgramToPosix|shell|<unistd.h>|ProgramToPosix.cpp:1: includes <unistd.h>, a system or library header"
    "ProgramToIniStore|molegame|IniStore.h|ProgramToIniStore.cpp:1: includes \"IniStore.h\", which is not beside it"
    "ProgramToIniStoreByFace|molegame|ini/IniStore.h|ini/IniStore.h: No such file"
    "ProgramToIniStoreUpward|molegame|../../ini/IniStore.h|ProgramToIniStoreUpward.cpp:1: includes \"../../ini/IniStore.h\", a path out of its folder"
    "HighscoreToGame|highscore|game/GameState.h|game/GameState.h: No such file"
    "FrameworkToCeRoom|layer_probe_framework|files/CeSafeDir.h|files/CeSafeDir.h: No such file"
    "CeToFramework|ce_private|mzfc/mzfc.h|mzfc/mzfc.h: No such file"
    "CeToProgram|ce_private|game/GameState.h|game/GameState.h: No such file"
    "ProgramApiBuilds|molegame|mzfc/mzfc.h|"
    "ProgramFacesBuild|moleapp|ini/IniFile.h|"
    "FrameworkPortBuilds|layer_probe_framework|ce/CeTrace.h|")
set(_program_targets molegame highscore shell moleapp ini moletext)

# What mzfc's own sources see: ce's API and port, not its rooms.
add_library(layer_probe_framework INTERFACE)
target_link_libraries(layer_probe_framework INTERFACE mzfc ce_port)

foreach(probe IN LISTS _probes)
    string(REPLACE "|" ";" fields "${probe}")
    list(GET fields 0 name)
    list(GET fields 1 uses)
    list(GET fields 2 header)
    list(GET fields 3 expect)
    if(NOT header MATCHES "^<")
        set(header "\"${header}\"")
    endif()
    # Each probe in a folder of its own: the fence reads the whole folder.
    file(WRITE ${_probe_dir}/${name}/${name}.cpp "#include ${header}\n")
    add_library(layer_probe_${name} OBJECT EXCLUDE_FROM_ALL ${_probe_dir}/${name}/${name}.cpp)
    target_link_libraries(layer_probe_${name} PRIVATE ${uses})
    if(name MATCHES "ByPath$")
        target_include_directories(layer_probe_${name} PRIVATE ${PROJECT_SOURCE_DIR})
    elseif(uses IN_LIST _program_targets)
        burrowbop_program_fence(layer_probe_${name} ${_probe_dir}/${name})
    endif()
    add_test(NAME Layers.${name}
             COMMAND ${CMAKE_COMMAND} --build ${PROJECT_BINARY_DIR} --target layer_probe_${name})
    # One build of the tree at a time.
    set_tests_properties(Layers.${name} PROPERTIES RESOURCE_LOCK build_tree)
    if(expect)
        set_tests_properties(Layers.${name} PROPERTIES PASS_REGULAR_EXPRESSION "${expect}")
    endif()
endforeach()
