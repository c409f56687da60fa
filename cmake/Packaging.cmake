# `cpack -G DEB` in a build folder: a Debian package of what `cmake --install` puts in place, with
# the libraries it links found by dpkg-shlibdeps and declared as its dependencies. A package is
# updated by the package manager, so build it with -DBRISEL_SELF_UPDATE=OFF (the package preset).
set(CPACK_PACKAGE_NAME brisel)
set(CPACK_PACKAGE_VENDOR "Brisel")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "weather charts for sailors, online and offline")
set(CPACK_PACKAGE_DESCRIPTION
    "While a connection is up, Brisel fetches the week's forecast charts of the eastern Baltic coast\n\
into a local chart folder; later, with or without a connection, you browse them on a time slider\n\
over seven days in one-hour steps, animate them, mark a period and look at the meteograms of your\n\
spot. The interface speaks Estonian, English and Latvian.")
set(CPACK_PACKAGE_CONTACT "Brisel maintainers <maintainers@brisel.example>")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${BRISEL_HOME_PAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
