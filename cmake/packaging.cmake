# `make package`: one Debian package of the installed tree. Its library dependencies come from the
# binaries (dpkg-shlibdeps); the menu, file-type and icon caches are refreshed by Debian's triggers
# on the folders the package fills, so it needs no maintainer scripts.

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME korvex-tools)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Korvex tools")
set(CPACK_PACKAGE_CONTACT "Korvex tools developers <korvex-tools@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "editors and tools for Korvex models and Taviron bitmaps")
set(CPACK_PACKAGE_DESCRIPTION
    "Korvex Editor edits triangle-mesh models in an OpenGL view; Taviron Editor paints small RGBA\n\
bitmaps pixel by pixel; Ulmar test reports discs inserted into the optical drive. The\n\
command-line tools korvex and taviron show and convert the files, and the thumbnailers let\n\
file managers show previews of them.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Loaded at run time, so dpkg-shlibdeps cannot see them: Qt's X11 platform plugin and Mesa's
# drivers, which the editors' views and the model thumbnailer draw with when there is no GPU.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libegl-mesa0, libgl1-mesa-dri")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme")

include(CPack)
