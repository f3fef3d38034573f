# What `cmake --install` puts where, and the Debian package `cpack -G DEB`
# makes of it. Included at the end of the top-level CMakeLists.txt, once every
# program target exists. The window program `zormin`, its desktop entry, icons
# and metainfo are installed when the window is built.

include(GNUInstallDirs)

set(ZORMIN_APP_ID org.example.Zormin)
set(ZORMIN_HOMEPAGE https://example.org/zormin/)
set(packaging ${PROJECT_SOURCE_DIR}/packaging)

install(TARGETS zormin-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${packaging}/zormin-cli.bash-completion
  DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions RENAME zormin-cli)

set(man_pages zormin-cli.1)
if(TARGET zormin)
  install(TARGETS zormin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${packaging}/${ZORMIN_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${packaging}/${ZORMIN_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  set(icons ${CMAKE_INSTALL_DATADIR}/icons/hicolor)
  foreach(size 16 32 48 128)
    install(FILES ${PROJECT_SOURCE_DIR}/res/art/icon-${size}.png
      DESTINATION ${icons}/${size}x${size}/apps RENAME ${ZORMIN_APP_ID}.png)
  endforeach()
  install(FILES ${PROJECT_SOURCE_DIR}/res/art/icon.svg DESTINATION ${icons}/scalable/apps RENAME ${ZORMIN_APP_ID}.svg)
  list(APPEND man_pages zormin.1)
endif()

# Manual pages and the changelog are installed compressed, without a time
# stamp in the gzip header, as Debian ships them.
set(compressed)
foreach(page IN LISTS man_pages)
  set(gz ${PROJECT_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${gz}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/man
    COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${PROJECT_SOURCE_DIR}/man/${page} ${gz}
    DEPENDS ${PROJECT_SOURCE_DIR}/man/${page} VERBATIM)
  list(APPEND compressed ${gz})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
set(changelog_gz ${PROJECT_BINARY_DIR}/changelog.gz)
add_custom_command(OUTPUT ${changelog_gz}
  COMMAND sh -c "gzip -9n -c \"$1\" > \"$2\"" sh ${packaging}/changelog ${changelog_gz}
  DEPENDS ${packaging}/changelog VERBATIM)
add_custom_target(zormin_docs ALL DEPENDS ${compressed} ${changelog_gz})
install(FILES ${packaging}/copyright ${changelog_gz} DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package: both programs in one package named zormin, its
# dependencies computed from the binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zormin)
set(CPACK_PACKAGE_VENDOR "ZORMIN developers")
set(CPACK_PACKAGE_CONTACT "ZORMIN developers <zormin@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION text)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ZORMIN_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# The window's texts are Japanese: without a Japanese font they show as boxes.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-japanese-gothic")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "change HTML tags and file names to upper or lower case
Rewrites the HTML files of a folder so that the markup inside their tags
(element and attribute names) is all upper case or all lower case, and
renames files to all-upper or all-lower case names. Text, quoted values,
comments and script blocks keep their case; the bytes of Japanese characters
(Shift_JIS, EUC-JP, ISO-2022-JP, UTF-8) are never changed, and a file is
replaced only once its new content is whole.
.
The package holds the window program zormin and the command zormin-cli for
scripts.")
include(CPack)
