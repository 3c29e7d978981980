# `cpack -G DEB` in the build folder makes brisko2_VERSION_ARCH.deb from the install rules;
# dpkg-shlibdeps finds the libraries the programs need. A Windows build makes a ZIP instead.
set(CPACK_PACKAGE_NAME brisko2)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Brisko Software")
set(CPACK_PACKAGE_CONTACT "Brisko Software <support@brisko.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "keeps two folder trees in step and makes backups of them")
set(CPACK_PACKAGE_DESCRIPTION
    "Brisko 2 runs plain-text scripts (.brk) whose sessions each keep a left
and a right folder in step: both ways with the newer file winning, one way
only, or as an exact mirror of a master side, keeping backups of the files
it replaces. It comes as a window (brisko2) and as a console runner
(brisko2-batch) that runs the same scripts without a window.")
set(CPACK_STRIP_FILES ON)
if(WIN32)
    # `cpack` in a Windows build folder makes a ZIP of the install tree, which needs no tools.
    set(CPACK_GENERATOR ZIP)
    include(CPack)
    return()
endif()
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
if(BRISKO_BUILD_GUI)
    # Qt finds its display plugins at run time, so no library dependency names them.
    set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
endif()
# The window registers the script file type and looks up the text editor with these.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, shared-mime-info, desktop-file-utils")

include(CPack)
