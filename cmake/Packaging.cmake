# Installation (`make install`) and the Debian package (`make package`).
#
# The program finds its language files, sounds and help pages beside its
# executable (through /proc/self/exe), so the program folder is installed
# whole under <prefix>/lib/tindro-zevad and <prefix>/bin/tindro-zevad is a
# relative link to it. The menu entry, AppStream metadata, icons, manual page
# and documents go where the desktop and Debian look for them.

set(TZ_PACKAGE_NAME tindro-zevad)
set(TZ_APP_ID io.github.tindrozevad.TindroZevad)
set(TZ_PACKAGE_MAINTAINER "Tindro Zevad maintainers <maintainers@tindrozevad.example>")
# Date of this version's release: the AppStream release and the changelog.
set(TZ_RELEASE_DATE 2026-12-06)
set(TZ_RELEASE_DATE_RFC2822 "Sun, 06 Dec 2026 00:00:00 +0000")

set(TZ_PROGRAM_DIR lib/${TZ_PACKAGE_NAME})
set(TZ_DOC_DIR share/doc/${TZ_PACKAGE_NAME})
set(TZ_PACKAGING_SRC ${CMAKE_SOURCE_DIR}/packaging)
set(TZ_PACKAGING_OUT ${CMAKE_BINARY_DIR}/packaging)

# Folders made by the installation are 0755 whatever the umask.
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

configure_file(${TZ_PACKAGING_SRC}/${TZ_APP_ID}.metainfo.xml.in
    ${TZ_PACKAGING_OUT}/${TZ_APP_ID}.metainfo.xml @ONLY)
configure_file(${TZ_PACKAGING_SRC}/changelog.in ${TZ_PACKAGING_OUT}/changelog @ONLY)
file(CREATE_LINK ../${TZ_PROGRAM_DIR}/tindro-zevad ${TZ_PACKAGING_OUT}/tindro-zevad SYMBOLIC)

# gzip -9n: no file name or time stamp inside, as Debian asks.
add_custom_command(
    OUTPUT ${TZ_PACKAGING_OUT}/tindro-zevad.1.gz ${TZ_PACKAGING_OUT}/changelog.gz
    COMMAND sh -c "gzip -9n -c '${TZ_PACKAGING_SRC}/tindro-zevad.1' > tindro-zevad.1.gz"
    COMMAND sh -c "gzip -9n -c changelog > changelog.gz"
    DEPENDS ${TZ_PACKAGING_SRC}/tindro-zevad.1 ${TZ_PACKAGING_OUT}/changelog
    WORKING_DIRECTORY ${TZ_PACKAGING_OUT}
    COMMENT "Compressing the manual page and the changelog"
    VERBATIM)
add_custom_target(tz_packaging_data ALL
    DEPENDS ${TZ_PACKAGING_OUT}/tindro-zevad.1.gz ${TZ_PACKAGING_OUT}/changelog.gz)

# The program folder, laid out as build/dist.
install(TARGETS tindro-zevad tindro-zevad-fetch RUNTIME DESTINATION ${TZ_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/Lang ${CMAKE_SOURCE_DIR}/resources/Click
    DESTINATION ${TZ_PROGRAM_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/resources/help/ DESTINATION ${TZ_PROGRAM_DIR})
install(FILES ${TZ_PACKAGING_OUT}/tindro-zevad DESTINATION bin)

# Desktop integration.
# The menu entry names the command by its absolute path, known only at
# installation (`make install` chooses the prefix then): KWin lets an
# executable use fake input when an installed entry's Exec resolves to it.
set(TZ_DESKTOP_IN ${TZ_PACKAGING_SRC}/${TZ_APP_ID}.desktop.in)
set(TZ_DESKTOP_OUT ${TZ_PACKAGING_OUT}/install/${TZ_APP_ID}.desktop)
install(CODE "
    file(READ \"${TZ_DESKTOP_IN}\" entry)
    string(REPLACE \"@TZ_BIN_DIR@\" \"\${CMAKE_INSTALL_PREFIX}/bin\" entry \"\${entry}\")
    file(WRITE \"${TZ_DESKTOP_OUT}\" \"\${entry}\")
    file(INSTALL DESTINATION \"\${CMAKE_INSTALL_PREFIX}/share/applications\" TYPE FILE
        PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ FILES \"${TZ_DESKTOP_OUT}\")
")
install(FILES ${TZ_PACKAGING_OUT}/${TZ_APP_ID}.metainfo.xml DESTINATION share/metainfo)
foreach(size 16 24 32 48 256)
    install(FILES ${CMAKE_SOURCE_DIR}/resources/images/icon/icon-${size}.png
        DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME ${TZ_APP_ID}.png)
endforeach()
install(FILES ${CMAKE_SOURCE_DIR}/resources/art/icon.svg
    DESTINATION share/icons/hicolor/scalable/apps RENAME ${TZ_APP_ID}.svg)

# Manual page and documents.
install(FILES ${TZ_PACKAGING_OUT}/tindro-zevad.1.gz DESTINATION share/man/man1)
install(FILES ${TZ_PACKAGING_SRC}/copyright ${TZ_PACKAGING_OUT}/changelog.gz
    DESTINATION ${TZ_DOC_DIR})

# The Debian package: build/tindro-zevad_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${TZ_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tindro Zevad developers")
set(CPACK_PACKAGE_CONTACT ${TZ_PACKAGE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dwell clicker: click by resting the pointer")
set(CPACK_PACKAGE_DESCRIPTION
    "Tindro Zevad Free is for people who can move the pointer, with a head or
eye tracker, a trackball or a joystick, but cannot press mouse buttons.

A narrow bar of picture buttons waits out of sight at the left edge of the
screen and appears when the pointer touches that edge. Moving onto a button
chooses the kind of click (left, double, right, middle, drag or none);
resting the pointer anywhere then makes that click there.

It needs an X11 session with the XTest extension.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TZ_SITE_BASE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The help pages and the product page open through xdg-open.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

set(CPACK_SOURCE_GENERATOR TXZ)
set(CPACK_SOURCE_IGNORE_FILES "/\\.git/" "/build[^/]*/")
set(CPACK_VERBATIM_VARIABLES ON)

include(CPack)
