# Installing Pendrel on Linux, and its Debian package (cpack -G DEB).
#
# The window's program goes to bin and the document engine's helper to libexec/pendrel,
# where the program looks for it; the desktop entry, the icons and the AppStream metadata go
# where desktops and software centres find them.
if(TARGET pendrel AND TARGET pendrel-office AND NOT WIN32)
    set(PENDREL_APP_ID io.github.pendrel.Pendrel)
    set(PENDREL_LINUX_DIR ${PROJECT_SOURCE_DIR}/packaging/linux)

    install(TARGETS pendrel RUNTIME DESTINATION bin)
    install(TARGETS pendrel-office RUNTIME DESTINATION libexec/pendrel)
    install(FILES ${PENDREL_LINUX_DIR}/${PENDREL_APP_ID}.desktop
        DESTINATION share/applications)
    install(FILES ${PENDREL_LINUX_DIR}/${PENDREL_APP_ID}.metainfo.xml
        DESTINATION share/metainfo)
    foreach(size 32 256)
        install(FILES ${PROJECT_SOURCE_DIR}/resources/pendrel-icon-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps
            RENAME ${PENDREL_APP_ID}.png)
    endforeach()

    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGE_NAME pendrel)
    set(CPACK_PACKAGE_VENDOR "Organization")
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Convert Word documents to PDF files in batches")
    set(CPACK_PACKAGE_DESCRIPTION "Pendrel turns a queue of Word documents (.doc) into PDF \
files, each written beside its document.\nAdd files one by one or a whole folder with all its \
subfolders, or open documents with Pendrel from the file manager, then convert them in one go.")
    set(CPACK_PACKAGE_CONTACT "Pendrel maintainers <pendrel@users.noreply.github.com>")
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_STRIP_FILES ON)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
    set(CPACK_DEBIAN_PACKAGE_SECTION text)
    # The libraries the programs link come from dpkg-shlibdeps; LibreOffice is loaded at run
    # time, and the fonts make documents written in Word's fonts keep their line breaks.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libreoffice-writer, fonts-liberation2, fonts-crosextra-carlito, fonts-crosextra-caladea, fonts-dejavu-core")
    include(CPack)
endif()
