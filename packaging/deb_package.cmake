# `cpack -G DEB` in the build tree makes palisade-brindle_VERSION_ARCH.deb
# from the install rules, for /usr, with the libraries' packages found by
# dpkg-shlibdeps.

set(CPACK_PACKAGE_NAME palisade-brindle)
set(CPACK_PACKAGE_VENDOR "Palisade Brindle developers")
set(CPACK_PACKAGE_CONTACT "Palisade Brindle developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "three-dimensional chess on four stacked half-boards")
# Lines of at most 80 columns, as dpkg shows them.
set(CPACK_PACKAGE_DESCRIPTION [=[
Palisade Brindle is a desktop game of Palisade chess, a three-dimensional
variant played on a 4 x 4 x 8 block of 128 squares, drawn as four half-boards
stacked in a slanted view. Each side has a double army. Two players share one
screen and one mouse, or play the computer at five levels.

The package holds the game, palisade-brindle, and palisade-cli, which plays
the game and counts its moves without a window.]=])
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The hicolor theme owns the icon folders; the cache builders and xdg-open
# let a desktop open saved games with the game.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "hicolor-icon-theme")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "desktop-file-utils, shared-mime-info, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
