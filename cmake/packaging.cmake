# A Debian package of the installed tree: cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME zhavik)
set(CPACK_PACKAGE_VENDOR "Zhavik developers")
set(CPACK_PACKAGE_CONTACT "Zhavik developers <${ZHAVIK_CONTACT_EMAIL}>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Pinyin, Wubi and GB2312 area/position codes of Chinese characters")
set(CPACK_PACKAGE_DESCRIPTION
    "Zhavik shows, for any Chinese character, its pinyin readings with tone marks, its 86- and \
98-edition Wubi codes and its GB2312 area/position code. Characters are reached by typing \
them or through a pinyin browser; whole texts convert at once. zhavik-lookup gives the same \
lookups on the command line.")
set(CPACK_PACKAGE_HOMEPAGE_URL "${ZHAVIK_HOME_URL}/")
set(CPACK_RESOURCE_FILE_LICENSE ${CMAKE_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The libraries come from the programs themselves (dpkg-shlibdeps); the window also needs a
# font with the Song-style Chinese glyphs it asks for.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-arphic-uming | fonts-wqy-microhei")
# Chinese texts in Qt's own dialogs, a viewer for the help file, the desktop's opener.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, xchm | kchmviewer, xdg-utils")

install(FILES ${CMAKE_SOURCE_DIR}/LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} RENAME copyright)

include(CPack)
