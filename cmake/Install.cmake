# What `cmake --install` puts in place: the programs, the documentation with the sample scripts
# and, on Linux, the desktop entry (with the window), the script file type, the icon and the
# manual pages.
include(GNUInstallDirs)

set(BRISKO_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/brisko2)
set(BRISKO_ICON_DIR ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

install(TARGETS brisko2-batch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
if(BRISKO_BUILD_GUI)
    install(TARGETS brisko2 RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
endif()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${BRISKO_DOC_DIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/samples DESTINATION ${BRISKO_DOC_DIR})
if(WIN32)
    # Windows has no desktop entries, shared file-type database or manual pages: the window
    # registers the script file type in the user's registry itself.
    return()
endif()

set(BRISKO_MAN_PAGES brisko2-batch.1 brisko2-script.5)
if(BRISKO_BUILD_GUI)
    install(FILES ${PROJECT_SOURCE_DIR}/data/brisko2.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    list(APPEND BRISKO_MAN_PAGES brisko2.1)
endif()

install(FILES ${PROJECT_SOURCE_DIR}/data/brisko2-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME brisko2.xml)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/brisko2.svg DESTINATION ${BRISKO_ICON_DIR}/scalable/apps)
foreach(size 48 256)
    install(FILES ${PROJECT_SOURCE_DIR}/data/icons/brisko2-${size}.png
            DESTINATION ${BRISKO_ICON_DIR}/${size}x${size}/apps RENAME brisko2.png)
endforeach()

# Manual pages go in gzipped, as man expects of an installed page, each into the section its
# suffix names (brisko2.1 into man1, brisko2-script.5 into man5); they are compressed while
# installing, so that building needs no extra target.
set(BRISKO_MAN_STAGE ${PROJECT_BINARY_DIR}/man)
foreach(page ${BRISKO_MAN_PAGES})
    string(REGEX REPLACE "^.*\\.([1-9])$" "\\1" section "${page}")
    if(section STREQUAL page)
        message(FATAL_ERROR "Manual page ${page} does not end in a section number")
    endif()
    install(CODE "
        file(MAKE_DIRECTORY \"${BRISKO_MAN_STAGE}\")
        execute_process(COMMAND gzip -9 -n -c \"${PROJECT_SOURCE_DIR}/docs/man/${page}\"
                        OUTPUT_FILE \"${BRISKO_MAN_STAGE}/${page}.gz\"
                        RESULT_VARIABLE gzipResult)
        if(NOT gzipResult EQUAL 0)
            message(FATAL_ERROR \"gzip ${page}: \${gzipResult}\")
        endif()")
    install(FILES ${BRISKO_MAN_STAGE}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man${section})
endforeach()

