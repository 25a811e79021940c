# The Windows program: a window program without a console, with its icon and version in its
# resources; the folder the installer fills; and the installer itself (`cmake --build . --target
# installer`: Tessaluma-<version>-setup.exe in the build folder, made with NSIS).

set_target_properties(tessaluma PROPERTIES WIN32_EXECUTABLE ON)

set(TESS_WINDOWS_ICON ${CMAKE_CURRENT_BINARY_DIR}/tessaluma.ico)
add_custom_command(OUTPUT ${TESS_WINDOWS_ICON}
    COMMAND ${draw_icons} --ico ${TESS_WINDOWS_ICON}
    DEPENDS tessaluma-icons
    COMMENT "Drawing the program's icon")
add_custom_target(tessaluma-windows-icon DEPENDS ${TESS_WINDOWS_ICON})
configure_file(${CMAKE_CURRENT_LIST_DIR}/tessaluma.rc.in tessaluma.rc @ONLY)
target_sources(tessaluma PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/tessaluma.rc)
set_source_files_properties(${CMAKE_CURRENT_BINARY_DIR}/tessaluma.rc
    DIRECTORY ${PROJECT_SOURCE_DIR}/app PROPERTIES OBJECT_DEPENDS ${TESS_WINDOWS_ICON})
add_dependencies(tessaluma tessaluma-windows-icon)

# The installed folder: the program, the DLLs it loads (Qt's, and the compiler's runtime;
# libjpeg-turbo and Little CMS are linked in), Qt's windows platform and the Windows look for
# the controls, and the licence.
install(TARGETS tessaluma RUNTIME DESTINATION .)
install(FILES ${TESS_MINGW_RUNTIME_DLLS} DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
    DESTINATION .)
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
if(TARGET Qt6::QWindowsVistaStylePlugin)
    install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
endif()
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION . RENAME LICENSE.txt)

# The installer: the installed folder, staged in the build folder, packed by NSIS with the
# lists of what it installs, so that the uninstaller removes exactly that.
find_program(TESS_MAKENSIS makensis)
if(TESS_MAKENSIS)
    set(stage ${CMAKE_CURRENT_BINARY_DIR}/installer-files)
    set(TESS_INSTALLER ${PROJECT_BINARY_DIR}/Tessaluma-${PROJECT_VERSION}-setup.exe)
    add_custom_target(installer
        COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
        COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --prefix ${stage}
        COMMAND ${CMAKE_COMMAND} -DSTAGE=${stage} -DOUT=${CMAKE_CURRENT_BINARY_DIR}
            -P ${CMAKE_CURRENT_LIST_DIR}/InstallerLists.cmake
        COMMAND ${TESS_MAKENSIS} -V2 -NOCD
            -DVERSION=${PROJECT_VERSION} -DSTAGE=${stage} -DLISTS=${CMAKE_CURRENT_BINARY_DIR}
            -DICON=${TESS_WINDOWS_ICON}
            -DOUTFILE=${TESS_INSTALLER} ${CMAKE_CURRENT_LIST_DIR}/tessaluma.nsi
        DEPENDS tessaluma
        BYPRODUCTS ${TESS_INSTALLER}
        WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
        COMMENT "Making ${TESS_INSTALLER}"
        VERBATIM)
endif()
