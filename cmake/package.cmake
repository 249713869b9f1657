# The Debian package (scripts/package makes and checks it): what cmake
# --install lays out, under /usr. The Qt libraries are found by
# dpkg-shlibdeps; what the window needs besides them is named here: the
# font that stands in for "ＭＳ Ｐゴシック" and Qt's Japanese texts for the
# standard buttons.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pelko)
set(CPACK_PACKAGE_VENDOR "The PELKO for Linux authors")
set(CPACK_PACKAGE_CONTACT "The PELKO for Linux authors <pelko@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "back up chosen files and folders onto floppy disks")
set(CPACK_PACKAGE_DESCRIPTION
  "PELKO keeps a backup of chosen files and folders on floppy disks, as LZH\n"
  "archives spread over as many floppies as needed, and brings them back to\n"
  "where they came from. It works with USB floppy drives and floppy image\n"
  "files. Command-line tools format and inspect floppies (pelko-floppy),\n"
  "handle LZH archives (pelko-lha) and run a backup from a script\n"
  "(pelko-script).")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PELKO_PROJECT_URL})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-ipafont-gothic, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "udisks2")
include(CPack)
