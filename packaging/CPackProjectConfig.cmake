# Read by cpack for each package it makes. The program and its desktop entry name the data
# folder under the build's install prefix, so a package that installs anywhere else would
# start without its sounds.
if(NOT CPACK_TONOVKA_INSTALL_PREFIX STREQUAL CPACK_PACKAGING_INSTALL_PREFIX)
    message(FATAL_ERROR
        "This build looks for its sounds under ${CPACK_TONOVKA_INSTALL_PREFIX}, but the package "
        "installs under ${CPACK_PACKAGING_INSTALL_PREFIX}. Configure the build with "
        "-DCMAKE_INSTALL_PREFIX=${CPACK_PACKAGING_INSTALL_PREFIX} before making the package.")
endif()
