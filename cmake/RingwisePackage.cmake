# `cpack -G DEB` in the release build: ringwise_VERSION_amd64.deb with what
# `cmake --install` puts under /usr, its library dependencies computed by
# dpkg-shlibdeps (dpkg-dev). scripts/package makes and checks it.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ringwise)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Ringwise developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "speaker-dependent voice dialer")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Record a short spoken voice tag for a contact's phone number; later say\n"
    "the name and Ringwise finds the best matching tag and places the call.\n"
    "Runs on Linux desktops and phones (Phosh, Plasma Mobile).")
set(CPACK_PACKAGE_CONTACT "Ringwise developers <developers@ringwise.org>")
# The project's home page (project(HOMEPAGE_URL)), also the metadata's.
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Found by fontconfig and loaded with dlopen, so invisible to dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-dejavu-core, xdg-utils")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "modemmanager, evolution-data-server")

include(CPack)
