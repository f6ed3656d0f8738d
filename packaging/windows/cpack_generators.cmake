# Read by cpack for each generator. The ZIP holds the whole install tree, the
# portable folder with its empty RFS/. The installer leaves RFS/ (the component
# portable) out: the installed console keeps it in the user's profile.
if(CPACK_GENERATOR STREQUAL "NSIS")
    set(CPACK_PACKAGE_FILE_NAME Velmora-${CPACK_PACKAGE_VERSION}-win64-setup)
    string(REPLACE ";ALL;" ";program;" CPACK_INSTALL_CMAKE_PROJECTS "${CPACK_INSTALL_CMAKE_PROJECTS}")
else()
    set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
endif()
