# The Debian package: `cpack -G DEB` in a build folder gives quillscan_VERSION-1_ARCH.deb with
# everything `cmake --install` installs, under /usr.
set(CPACK_PACKAGE_NAME quillscan)
set(CPACK_PACKAGE_VENDOR Tarnwick)
set(CPACK_PACKAGE_CONTACT "Quillscan developers <quillscan@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "search the titles of a local index of forum threads")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Quillscan lists every forum thread whose title contains a word or phrase,\n"
    "ignoring letter case, from the index file threads.db5 (a title line and a\n"
    "link line per thread) in the folder it is started in. A click on a result\n"
    "copies its link; a double-click opens it, a web address in the web browser.\n"
    "quillscan-search runs the same search in a terminal or a script.")
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR DEB)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# Depends is worked out by dpkg-shlibdeps from the libraries the programs link (Qt 6 among them).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
