# Read by cpack for each generator. The Debian package holds what a plain install
# installs (the component desktop, under /usr). The archive holds the portable
# program directory alone, in one top folder named like the archive: only an
# archive per component can leave the default components out.
if(CPACK_GENERATOR STREQUAL "TGZ")
    set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
    set(CPACK_COMPONENTS_ALL portable)
    set(CPACK_COMPONENT_INCLUDE_TOPLEVEL_DIRECTORY ON)
    set(CPACK_ARCHIVE_PORTABLE_FILE_NAME ${CPACK_PACKAGE_FILE_NAME})
endif()
