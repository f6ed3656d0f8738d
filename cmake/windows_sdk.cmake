# The portable Windows folder: the install tree of a mingw build against the
# Windows SDK (scripts/windows-sdk.sh) holds both programs, the DLLs they load,
# Qt's plugins, info.htm and RFS/ in one folder, and `cpack` packs it as a ZIP
# to unpack and run, no installer needed.
#   cmake --build <dir> && cmake --install <dir> --prefix <folder>    or    cd <dir> && cpack
# Included before the targets: everything goes beside the executables.
set(CMAKE_INSTALL_BINDIR .)

if(NOT WINDOWS_SDK)
    message(WARNING "WINDOWS_SDK is not set: the install tree gets no DLLs")
    return()
endif()

# The DLLs of the libraries the programs link, and the mingw runtime they load.
# (install(RUNTIME_DEPENDENCY_SET) cannot serve here: it looks the imported names
# up in lower case, which a Linux file system does not find.)
set(VELMORA_MINGW_RUNTIME_DLLS
    ${WINDOWS_SDK}/bin/libstdc++-6.dll ${WINDOWS_SDK}/bin/libgcc_s_seh-1.dll ${WINDOWS_SDK}/bin/libwinpthread-1.dll)
install(FILES $<TARGET_RUNTIME_DLLS:velmora> $<TARGET_RUNTIME_DLLS:velmora-sim> ${VELMORA_MINGW_RUNTIME_DLLS}
        DESTINATION .)

# Plugins Qt loads by name from the folders beside the executable: the window
# system, the native style, and JPEG for the webcam's pictures.
install(FILES $<TARGET_FILE:Qt6::QWindowsIntegrationPlugin> DESTINATION platforms)
install(FILES $<TARGET_FILE:Qt6::QWindowsVistaStylePlugin> DESTINATION styles)
install(FILES $<TARGET_FILE:Qt6::QJpegPlugin> DESTINATION imageformats)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_FILE_NAME velmora-${PROJECT_VERSION}-windows-x86_64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
include(CPack)
