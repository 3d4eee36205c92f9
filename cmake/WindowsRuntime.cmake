# What the Windows programs need beside them: Qt's DLLs and plugins and the
# compiler's runtime DLLs that Qt's DLLs load. Copied into the build's bin
# folder (so that the programs and tests run from there under Wine) and
# installed with the programs (packaging/windows.cmake), without windeployqt.
get_target_property(addrix_qtcore_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(addrix_qt_bin ${addrix_qtcore_dll} DIRECTORY)
get_filename_component(addrix_qt_prefix ${addrix_qt_bin} DIRECTORY)
set(addrix_mingw_runtime_dirs
    /usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)

set(ADDRIX_WINDOWS_DLLS)
foreach(module Core Gui Widgets)
    list(APPEND ADDRIX_WINDOWS_DLLS ${addrix_qt_bin}/Qt6${module}.dll)
endforeach()
foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    find_file(addrix_${dll} ${dll} PATHS ${addrix_mingw_runtime_dirs} NO_DEFAULT_PATH
              NO_CMAKE_FIND_ROOT_PATH REQUIRED)
    list(APPEND ADDRIX_WINDOWS_DLLS ${addrix_${dll}})
endforeach()
# Folder under the program folder, plugin.
set(ADDRIX_WINDOWS_PLUGINS
    platforms/qwindows.dll
    styles/qwindowsvistastyle.dll
    imageformats/qico.dll)

file(COPY ${ADDRIX_WINDOWS_DLLS} ${addrix_qt_bin}/Qt6Test.dll
     DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
# The tests also take the offscreen platform.
foreach(plugin ${ADDRIX_WINDOWS_PLUGINS} platforms/qoffscreen.dll)
    get_filename_component(folder ${plugin} DIRECTORY)
    file(COPY ${addrix_qt_prefix}/plugins/${plugin}
         DESTINATION ${CMAKE_RUNTIME_OUTPUT_DIRECTORY}/${folder})
endforeach()
