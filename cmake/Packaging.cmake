# SPDX-FileCopyrightText: 2026 The Brisel developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# `cpack -G DEB` in a build folder: a Debian package of what `cmake --install` puts in place, with
# the libraries it links found by dpkg-shlibdeps and declared as its dependencies. A package is
# updated by the package manager, so build it with -DBRISEL_SELF_UPDATE=OFF (the package preset).
# scripts/package checks the result with lintian.
set(CPACK_PACKAGE_NAME brisel)
set(CPACK_PACKAGE_VENDOR "Brisel")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "weather charts for sailors, online and offline")
# Lines of at most 80 characters, as Debian's tools show them.
set(CPACK_PACKAGE_DESCRIPTION
    "While a connection is up, Brisel fetches the week's forecast charts of the\n\
eastern Baltic coast into a local chart folder; later, with or without a\n\
connection, you browse them on a time slider over seven days in one-hour\n\
steps, animate them, mark a period and look at the meteograms of your spot.\n\
The interface speaks Estonian, English and Latvian.")
set(CPACK_PACKAGE_CONTACT "Brisel maintainers <maintainers@brisel.example>")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${BRISEL_HOME_PAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# What Debian's policy asks of every package's documentation folder: the copyright in its
# machine-readable form, and the changelog, made from NEWS. A version without a Debian revision
# makes a native package, whose changelog is changelog.gz. Both are made here, so that an install
# needs no build target for them.
set(doc_dir ${CMAKE_INSTALL_DATADIR}/doc/${CPACK_PACKAGE_NAME})
set(doc_build ${CMAKE_BINARY_DIR}/doc)
configure_file(data/copyright.in ${doc_build}/copyright @ONLY)

set(debian_changelog "")
foreach(version IN LISTS BRISEL_NEWS_VERSIONS)
    string(REPLACE "\n" "\n  * " items "${BRISEL_NEWS_TEXT_${version}}")
    string(REPLACE "\r" "\n    " items "${items}")
    execute_process(COMMAND date -u -R -d "${BRISEL_NEWS_DATE_${version}}" OUTPUT_VARIABLE day
        OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    string(APPEND debian_changelog "${CPACK_PACKAGE_NAME} (${version}) unstable; urgency=medium\n\n"
        "  * ${items}\n\n -- ${CPACK_PACKAGE_CONTACT}  ${day}\n\n")
endforeach()
string(STRIP "${debian_changelog}" debian_changelog)
file(WRITE ${doc_build}/changelog "${debian_changelog}\n")
find_program(GZIP gzip REQUIRED)
execute_process(COMMAND ${GZIP} -9nf --keep ${doc_build}/changelog COMMAND_ERROR_IS_FATAL ANY)
install(FILES ${doc_build}/copyright ${doc_build}/changelog.gz DESTINATION ${doc_dir})
include(CPack)
