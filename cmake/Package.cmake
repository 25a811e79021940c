# The Debian package, built by `cpack` from the install rules (scripts/package runs it). Its
# dependencies are computed from the program by dpkg-shlibdeps; the fonts the windows are laid
# out for are added by name.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tessaluma)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tessaluma developers")
set(CPACK_PACKAGE_CONTACT "Tessaluma developers <sviluppo@tessaluma.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop tool that reduces JPEG photos")
# Lines of the long description stay within 80 characters, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION
    "Tessaluma works on three folders: original photos, reduced copies and\n"
    "thumbnails. It turns every marked original into a reduced copy and a\n"
    "thumbnail, scaled to fit the size given and encoded again as JPEG.\n"
    "The program speaks Italian.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.tessaluma.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS fonts-wine)

include(CPack)
