# `make package`: a Debian package of the game, its data, desktop entry, icons,
# software-centre description and manual page, installed under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME burrowbop)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Burrowbop developers <burrowbop@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "tap the mole before it moves on (打地鼠)")
set(CPACK_PACKAGE_DESCRIPTION "A little tap game: a mole jumps from hole to hole among nine, \
a little faster at every step. Tap it before it moves. The best score and its holder's name \
are kept.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binaries; the font that covers Chinese is found at
# run time through fontconfig, so it is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-zenhei")
include(CPack)

# The package test: build it, unpack it, validate its desktop files and start the
# unpacked game. It runs the programs as built, so not in the sanitizer tree.
if(BURROWBOP_TESTS AND NOT BURROWBOP_SANITIZE)
    add_test(NAME PackageTest.BuildsUnpacksValidatesAndStarts
             COMMAND ${PROJECT_SOURCE_DIR}/scripts/test-package.sh ${PROJECT_BINARY_DIR})
    set_tests_properties(PackageTest.BuildsUnpacksValidatesAndStarts PROPERTIES
                         SKIP_RETURN_CODE 77 TIMEOUT 180 RUN_SERIAL TRUE)
endif()
