# SPDX-FileCopyrightText: 2026 The Brisel developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

# NEWS is the one place a version's notes are written. Read here into BRISEL_NEWS_VERSIONS (newest
# first) with BRISEL_NEWS_DATE_<version> and BRISEL_NEWS_TEXT_<version> (its paragraphs apart by a
# line feed, the lines within one by a carriage return), and into BRISEL_RELEASES, the metainfo's
# release notes; the package makes its changelog from the same. The newest entry must be the
# project's version, so that neither names a version other than the one built.
set(news_file ${PROJECT_SOURCE_DIR}/NEWS)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${news_file})
# Read as lines of a list, in which a semicolon would cut a line: it waits behind a stand-in.
file(READ ${news_file} news)
string(ASCII 31 semicolon)
string(REPLACE ";" "${semicolon}" news "${news}")
string(REPLACE "\n" ";" news_lines "${news}")

set(BRISEL_NEWS_VERSIONS "")
set(version "")
foreach(line IN LISTS news_lines)
    string(REPLACE "${semicolon}" ";" line "${line}")
    if(line MATCHES "^Brisel ([0-9]+\\.[0-9]+\\.[0-9]+), ([0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9])$")
        set(version ${CMAKE_MATCH_1})
        list(APPEND BRISEL_NEWS_VERSIONS ${version})
        set(BRISEL_NEWS_DATE_${version} ${CMAKE_MATCH_2})
        set(BRISEL_NEWS_TEXT_${version} "")
        set(separator "")
    elseif(version AND line STREQUAL "")
        set(separator "\n")
    elseif(version)
        if(BRISEL_NEWS_TEXT_${version} STREQUAL "")
            set(separator "")
        elseif(separator STREQUAL "")
            set(separator "\r")
        endif()
        string(APPEND BRISEL_NEWS_TEXT_${version} "${separator}${line}")
        set(separator "")
    endif()
endforeach()

list(LENGTH BRISEL_NEWS_VERSIONS entries)
if(entries EQUAL 0)
    message(FATAL_ERROR "NEWS holds no entry \"Brisel VERSION, YYYY-MM-DD\"")
endif()
list(GET BRISEL_NEWS_VERSIONS 0 newest)
if(NOT newest STREQUAL PROJECT_VERSION)
    message(FATAL_ERROR "NEWS begins with version ${newest}, the project is ${PROJECT_VERSION}: "
        "give the version its entry in NEWS")
endif()

set(BRISEL_RELEASES "")
foreach(version IN LISTS BRISEL_NEWS_VERSIONS)
    string(REPLACE "&" "&amp;" text "${BRISEL_NEWS_TEXT_${version}}")
    string(REPLACE "<" "&lt;" text "${text}")
    string(REPLACE ">" "&gt;" text "${text}")
    string(REPLACE "\r" " " text "${text}")
    string(REPLACE "\n" "</p>\n        <p>" text "${text}")
    string(APPEND BRISEL_RELEASES
        "    <release version=\"${version}\" date=\"${BRISEL_NEWS_DATE_${version}}\">\n"
        "      <description>\n        <p>${text}</p>\n      </description>\n    </release>\n")
endforeach()
