# The mingw build against the Windows SDK (scripts/windows-sdk.sh), included
# before the targets. What it installs and packs: packaging/windows/.

# The programs' icon and version information are Windows resources.
enable_language(RC)

if(NOT WINDOWS_SDK)
    message(WARNING "WINDOWS_SDK is not set: the install tree gets no DLLs")
    return()
endif()

# The mingw runtime the programs load, beside the DLLs of the libraries they
# link: the install tree and the Wine test's driver both need them.
set(VELMORA_MINGW_RUNTIME_DLLS
    ${WINDOWS_SDK}/bin/libstdc++-6.dll ${WINDOWS_SDK}/bin/libgcc_s_seh-1.dll ${WINDOWS_SDK}/bin/libwinpthread-1.dll)
