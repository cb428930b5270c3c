# What a desktop and a package manager need besides the programs: the menu entry, the icon, the
# file types Quillbarrow opens, the AppStream description, the manual pages, the copyright and the
# changelog; and the Debian package made of them all by `cpack -G DEB` (tools/make-deb).

install(FILES ${PROJECT_SOURCE_DIR}/resources/quillbarrow.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/quillbarrow.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# Debian 12's MIME database names neither Outlook data files nor Outlook Express mailboxes.
install(FILES ${PROJECT_SOURCE_DIR}/resources/quillbarrow-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME quillbarrow.xml)

set(QB_APPSTREAM_ID example.quillbarrow.Quillbarrow)
configure_file(${PROJECT_SOURCE_DIR}/resources/quillbarrow.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/packaging/${QB_APPSTREAM_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/packaging/${QB_APPSTREAM_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages and the changelog are installed compressed, as Debian keeps them; -n leaves the
# time out of the header, so that the same sources give the same package.
function(qb_install_gzipped source destination)
  get_filename_component(name ${source} NAME)
  set(compressed ${CMAKE_BINARY_DIR}/packaging/${name}.gz)
  add_custom_command(OUTPUT ${compressed}
                     COMMAND gzip -9nc ${source} > ${compressed}
                     DEPENDS ${source} VERBATIM)
  string(MAKE_C_IDENTIFIER ${name} target)
  add_custom_target(qb_gzip_${target} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${destination})
endfunction()

file(GLOB manual_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/docs/*.1)
foreach(page IN LISTS manual_pages)
  qb_install_gzipped(${page} ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()

execute_process(COMMAND date -u -d ${QB_RELEASE_DATE} "+%a, %d %b %Y 12:00:00 +0000"
                OUTPUT_VARIABLE QB_RELEASE_DATE_RFC2822 OUTPUT_STRIP_TRAILING_WHITESPACE)
configure_file(${PROJECT_SOURCE_DIR}/packaging/changelog.in ${CMAKE_BINARY_DIR}/packaging/changelog
               @ONLY)
# Debian names the folder after the package, in small letters.
set(qb_doc_dir ${CMAKE_INSTALL_DATADIR}/doc/quillbarrow)
qb_install_gzipped(${CMAKE_BINARY_DIR}/packaging/changelog ${qb_doc_dir})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/copyright DESTINATION ${qb_doc_dir})

# The Debian package. Its Depends come from dpkg-shlibdeps over the programs; only the Qt
# platform plugins, which the window loads at run time and no program links, are named here.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quillbarrow)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "The Quillbarrow developers <support@quillbarrow.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "rescue e-mail from Outlook and Outlook Express files")
set(CPACK_PACKAGE_DESCRIPTION
    "Quillbarrow reads Outlook data files (.pst, .ost) and Outlook Express
mailboxes (.dbx) itself, without Windows or Outlook. Its window lists,
searches and saves the messages as plain text; its command
quillbarrow-export saves whole mail, attachments and folders included, as
text, .eml files, mbox or Maildir that other mail programs open.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_PACKAGE_SECTION mail)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quillbarrow.example/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
