# Installation as a desktop program and the Debian package (cpack -G DEB in the build folder).
#
# Layout under the prefix (/usr for the package):
#   lib/quenvale/            the executable, empty.db and Languages/ side by side
#   bin/quenvale             relative symlink to ../lib/quenvale/quenvale
#   share/applications/      desktop entry
#   share/metainfo/          AppStream metadata
#   share/icons/hicolor/     scalable SVG and PNG sizes
#   share/man/man1/          manual page
#   share/doc/quenvale/      copyright and changelog.Debian.gz
#   share/lintian/overrides/ the lintian tags that do not apply to this package

set(QUENVALE_APP_ID com.zelkora.Quenvale)
set(QUENVALE_RELEASE_DATE 2026-12-10)
set(QUENVALE_DEB_RELEASE 1)
set(QUENVALE_MAINTAINER "Zelkora <support@zelkora.com>" CACHE STRING "Maintainer of the Debian package")

set(QUENVALE_DEB_VERSION ${PROJECT_VERSION}-${QUENVALE_DEB_RELEASE})
set(QUENVALE_PROGRAM_DIR lib/quenvale)
set(QUENVALE_DOC_DIR share/doc/quenvale)
set(QUENVALE_PACKAGING_SOURCE ${PROJECT_SOURCE_DIR}/data/packaging)
set(QUENVALE_PACKAGING_BINARY ${CMAKE_BINARY_DIR}/packaging)

# The changelog carries the release date in the form Debian wants (RFC 2822, midday UTC).
execute_process(
  COMMAND date -u -R -d "${QUENVALE_RELEASE_DATE} 12:00:00 UTC"
  OUTPUT_VARIABLE QUENVALE_RELEASE_DATE_RFC2822
  OUTPUT_STRIP_TRAILING_WHITESPACE
  COMMAND_ERROR_IS_FATAL ANY)

configure_file(${QUENVALE_PACKAGING_SOURCE}/${QUENVALE_APP_ID}.metainfo.xml.in
  ${QUENVALE_PACKAGING_BINARY}/${QUENVALE_APP_ID}.metainfo.xml @ONLY)
configure_file(${QUENVALE_PACKAGING_SOURCE}/changelog.Debian.in
  ${QUENVALE_PACKAGING_BINARY}/changelog.Debian @ONLY)

# Debian wants the changelog and the manual page compressed at the highest level and without a time stamp.
find_program(QUENVALE_GZIP gzip REQUIRED)
set(QUENVALE_CHANGELOG_GZ ${QUENVALE_PACKAGING_BINARY}/changelog.Debian.gz)
set(QUENVALE_MANPAGE_GZ ${QUENVALE_PACKAGING_BINARY}/quenvale.1.gz)
add_custom_command(
  OUTPUT ${QUENVALE_CHANGELOG_GZ}
  COMMAND ${QUENVALE_GZIP} -9nc ${QUENVALE_PACKAGING_BINARY}/changelog.Debian > ${QUENVALE_CHANGELOG_GZ}
  DEPENDS ${QUENVALE_PACKAGING_BINARY}/changelog.Debian
  VERBATIM)
add_custom_command(
  OUTPUT ${QUENVALE_MANPAGE_GZ}
  COMMAND ${QUENVALE_GZIP} -9nc ${QUENVALE_PACKAGING_SOURCE}/quenvale.1 > ${QUENVALE_MANPAGE_GZ}
  DEPENDS ${QUENVALE_PACKAGING_SOURCE}/quenvale.1
  VERBATIM)
add_custom_target(quenvale_packaging_files ALL DEPENDS ${QUENVALE_CHANGELOG_GZ} ${QUENVALE_MANPAGE_GZ})

# The command on the PATH: a relative link, so it holds under any prefix. The program finds its own
# folder through /proc/self/exe, that is through the link.
file(CREATE_LINK ../${QUENVALE_PROGRAM_DIR}/quenvale ${QUENVALE_PACKAGING_BINARY}/quenvale SYMBOLIC)

# Nothing in the package may be group-writable, whatever the umask of the build.
set(QUENVALE_DIR_PERMISSIONS
  OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${QUENVALE_DIR_PERMISSIONS})

# Resolve every symbol at start and map the relocations read-only, as Debian builds its programs.
target_link_options(quenvale PRIVATE LINKER:-z,relro LINKER:-z,now)

install(TARGETS quenvale RUNTIME DESTINATION ${QUENVALE_PROGRAM_DIR})
install(FILES ${QUENVALE_RUNTIME_DIR}/empty.db DESTINATION ${QUENVALE_PROGRAM_DIR})
install(DIRECTORY ${QUENVALE_RUNTIME_DIR}/Languages DESTINATION ${QUENVALE_PROGRAM_DIR}
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ
  DIRECTORY_PERMISSIONS ${QUENVALE_DIR_PERMISSIONS})
install(FILES ${QUENVALE_PACKAGING_BINARY}/quenvale DESTINATION bin)

install(FILES ${QUENVALE_PACKAGING_SOURCE}/${QUENVALE_APP_ID}.desktop DESTINATION share/applications)
install(FILES ${QUENVALE_PACKAGING_BINARY}/${QUENVALE_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${PROJECT_SOURCE_DIR}/data/icons/quenvale.svg DESTINATION share/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${PROJECT_SOURCE_DIR}/data/icons/quenvale-${size}.png
    DESTINATION share/icons/hicolor/${size}x${size}/apps RENAME quenvale.png)
endforeach()
install(FILES ${QUENVALE_MANPAGE_GZ} DESTINATION share/man/man1)
install(FILES ${QUENVALE_PACKAGING_SOURCE}/copyright ${QUENVALE_CHANGELOG_GZ} DESTINATION ${QUENVALE_DOC_DIR})
install(FILES ${QUENVALE_PACKAGING_SOURCE}/lintian-overrides DESTINATION share/lintian/overrides RENAME quenvale)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quenvale)
set(CPACK_PACKAGE_VENDOR Zelkora)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${QUENVALE_MAINTAINER})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${QUENVALE_DIR_PERMISSIONS})
set(CPACK_DEBIAN_PACKAGE_NAME quenvale)
set(CPACK_DEBIAN_PACKAGE_RELEASE ${QUENVALE_DEB_RELEASE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${QUENVALE_MAINTAINER})
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://www.zelkora.com/)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# pg_dump and pg_restore back up a database on a server.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS postgresql-client)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "point of sale for a small shop
Quenvale runs the till of a small shop. The cashier scans barcodes into a
sale list, sees the total, the discount and the change, and completes the
sale for cash or on credit to a customer. Every sale is stored in a local
SQLite database, stock goes down, and a receipt is rendered from an editable
template, saved and printed.

Around the till: products, customers with open credit, sales history,
reports, CSV export and import, Code 39 barcode images, backup and restore,
passwords, visual styles and translations.")

include(CPack)
