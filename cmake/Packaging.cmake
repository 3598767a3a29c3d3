# Installing Pendrel on Linux, and its Debian package (cpack -G DEB).
#
# The window's program goes to bin and the document engine's helper to libexec/pendrel,
# where the program looks for it, with the AppArmor profile that lets it make its namespaces
# where AppArmor restricts them (in share/pendrel/apparmor; the package's postinst puts it in
# /etc/apparmor.d where AppArmor can read it); the desktop entry, the icons and the AppStream metadata go
# where desktops and software centres find them, the manual page to man1, the copyright and
# the package's changelog to doc/pendrel, and the reasons for lintian's overrides where
# lintian reads them.
include(${CMAKE_CURRENT_LIST_DIR}/Hardening.cmake)

if(TARGET pendrel AND TARGET pendrel-office AND NOT WIN32)
    # The packaged programs, and the project's libraries they are built from, are hardened.
    pendrel_harden(pendrel pendrel-office)

    set(PENDREL_LINUX_DIR ${PROJECT_SOURCE_DIR}/packaging/linux)
    # The icon theme's sizes; resources/make_resources.sh draws each, and the scalable one.
    set(PENDREL_ICON_SIZES 16 22 24 32 48 64 128 256)

    install(TARGETS pendrel RUNTIME DESTINATION bin)
    install(TARGETS pendrel-office RUNTIME DESTINATION libexec/pendrel)
    # Stripped (cpack strips), the programs also lose the compiler's notes, as Debian's own
    # packages do.
    install(CODE "set(PENDREL_STRIP \"${CMAKE_STRIP}\")")
    install(CODE [[
        if(CMAKE_INSTALL_DO_STRIP)
            foreach(program bin/pendrel libexec/pendrel/pendrel-office)
                execute_process(COMMAND ${PENDREL_STRIP} --remove-section=.comment
                    --remove-section=.note "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${program}"
                    COMMAND_ERROR_IS_FATAL ANY)
            endforeach()
        endif()
    ]])
    install(FILES ${PENDREL_LINUX_DIR}/apparmor-pendrel-office
        DESTINATION share/pendrel/apparmor RENAME pendrel-office)
    install(FILES ${PENDREL_LINUX_DIR}/${PENDREL_APP_ID}.desktop
        DESTINATION share/applications)
    install(FILES ${PENDREL_LINUX_DIR}/${PENDREL_APP_ID}.metainfo.xml
        DESTINATION share/metainfo)
    foreach(size IN LISTS PENDREL_ICON_SIZES)
        install(FILES ${PROJECT_SOURCE_DIR}/resources/pendrel-icon-${size}.png
            DESTINATION share/icons/hicolor/${size}x${size}/apps
            RENAME ${PENDREL_APP_ID}.png)
    endforeach()
    install(FILES ${PROJECT_SOURCE_DIR}/resources/pendrel-icon.svg
        DESTINATION share/icons/hicolor/scalable/apps
        RENAME ${PENDREL_APP_ID}.svg)
    install(FILES ${PROJECT_BINARY_DIR}/man/pendrel.1.gz DESTINATION share/man/man1)

    # The package's changelog, compressed as Debian wants it: gzip -9n keeps no name or time,
    # so the same text gives the same bytes.
    find_program(PENDREL_GZIP gzip REQUIRED)
    set(PENDREL_CHANGELOG ${PROJECT_BINARY_DIR}/packaging/changelog.Debian.gz)
    file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/packaging)
    execute_process(COMMAND ${PENDREL_GZIP} -9n -c
        INPUT_FILE ${PENDREL_LINUX_DIR}/changelog
        OUTPUT_FILE ${PENDREL_CHANGELOG}
        COMMAND_ERROR_IS_FATAL ANY)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PENDREL_LINUX_DIR}/changelog)
    install(FILES ${PENDREL_LINUX_DIR}/copyright ${PENDREL_CHANGELOG} DESTINATION share/doc/pendrel)
    install(FILES ${PENDREL_LINUX_DIR}/lintian-overrides DESTINATION share/lintian/overrides
        RENAME pendrel)

    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGE_NAME pendrel)
    set(CPACK_PACKAGE_VENDOR "Organization")
    set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Convert Word documents to PDF files in batches")
    # The lines as they appear in the package's description: at most 79 characters each, which
    # CPack indents by one.
    set(CPACK_PACKAGE_DESCRIPTION [[
Pendrel turns a queue of Word documents (.doc) into PDF files, each written
beside its document. Add files one by one or a whole folder with all its
subfolders, or open documents with Pendrel from the file manager, then convert
them in one go.]])
    set(CPACK_PACKAGE_HOMEPAGE_URL "https://github.com/pendrel/pendrel")
    set(CPACK_PACKAGE_CONTACT "Pendrel maintainers <pendrel@users.noreply.github.com>")
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
    set(CPACK_STRIP_FILES ON)
    set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
    set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
    set(CPACK_DEBIAN_PACKAGE_SECTION text)
    # The libraries the programs link come from dpkg-shlibdeps; LibreOffice is loaded at run
    # time. The fonts: Liberation, Carlito and Caladea (and fonts-liberation's Liberation Sans
    # Narrow) have the widths of Word's own fonts, so documents keep their line and page breaks;
    # Noto and Noto CJK print every script a Word document is likely to hold (CJK, Thai, the
    # Indic scripts, Arabic, Hebrew...) instead of boxes. Wine's Tahoma only refines one font.
    set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
    # postinst installs and loads the AppArmor profile where AppArmor 4 is, postrm removes it.
    set(CPACK_DEBIAN_PACKAGE_CONTROL_EXTRA ${PENDREL_LINUX_DIR}/postinst ${PENDREL_LINUX_DIR}/postrm)
    set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
    set(CPACK_DEBIAN_PACKAGE_DEPENDS
        "libreoffice-writer, fonts-liberation2, fonts-liberation, fonts-crosextra-carlito, fonts-crosextra-caladea, fonts-dejavu-core, fonts-noto-core, fonts-noto-cjk")
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-wine")
    include(CPack)
endif()
