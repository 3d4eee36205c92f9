# The Windows installer: CPack's NSIS generator over the install rules. The
# install folder (Program Files\Addrix, per machine) holds both programs, the
# help documents, Qt's DLLs and plugins and the compiler's runtime DLLs, and
# Uninstall.exe, registered in Add/Remove Programs. NSIS's own /S and /D=
# switches install silently and elsewhere. Settings live apart from it
# (%APPDATA%\addrix when the folder cannot be written) and stay.
set(program_dir ${ADDRIX_PROGRAM_INSTALL_DIR})
install(TARGETS addrix addrix-cli RUNTIME DESTINATION ${program_dir})
install(FILES ${ADDRIX_WINDOWS_DLLS} DESTINATION ${program_dir})
foreach(plugin ${ADDRIX_WINDOWS_PLUGINS})
    get_filename_component(folder ${plugin} DIRECTORY)
    install(FILES ${addrix_qt_prefix}/plugins/${plugin} DESTINATION ${program_dir}/${folder})
endforeach()

set(CPACK_GENERATOR NSIS)
set(CPACK_PACKAGE_NAME Addrix)
set(CPACK_PACKAGE_VENDOR "Halvern Inc.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Moves a Galder or Ivro address book to the Norvik address-book file")
set(CPACK_PACKAGE_FILE_NAME addrix-${PROJECT_VERSION}-win64)
set(CPACK_PACKAGE_INSTALL_DIRECTORY Addrix)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Addrix)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
# The Start-menu entry, with the program's own icon.
set(CPACK_PACKAGE_EXECUTABLES addrix Addrix)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_PACKAGE_NAME Addrix)
set(CPACK_NSIS_DISPLAY_NAME Addrix)
set(CPACK_NSIS_UNINSTALL_NAME Uninstall)
set(CPACK_NSIS_INSTALLED_ICON_NAME addrix.exe)
set(CPACK_NSIS_MUI_ICON ${CMAKE_CURRENT_SOURCE_DIR}/icons/addrix.ico)
set(CPACK_NSIS_MUI_UNIICON ${CMAKE_CURRENT_SOURCE_DIR}/icons/addrix.ico)
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
set(CPACK_NSIS_COMPRESSOR "/SOLID lzma")
# The agreement the wizard shows, as text made for the host (see
# scripts/test-windows.sh): the installer's licence page.
set(ADDRIX_LICENSE_TEXT "" CACHE FILEPATH "The agreement as text, for the licence page")
if(ADDRIX_LICENSE_TEXT)
    set(CPACK_RESOURCE_FILE_LICENSE ${ADDRIX_LICENSE_TEXT})
else()
    message(WARNING "ADDRIX_LICENSE_TEXT is not set: the installer shows no licence page")
endif()
# A 64-bit installer, as the programs are: it sees the 64-bit Program Files
# and registry, and runs where only 64-bit Windows programs do.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
include(CPack)
