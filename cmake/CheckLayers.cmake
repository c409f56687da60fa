# SPDX-FileCopyrightText: 2026 The Brisel developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

cmake_minimum_required(VERSION 3.25)
# Fails when a file of src/ includes a folder above its own: the folders are layers, and a lower
# one never knows a higher one. Run by the build (target check_layers) with -DSOURCE_DIR=<src>.
set(allowed_platform platform)
set(allowed_settings platform settings)
set(allowed_net platform settings net)
set(allowed_provider platform settings net provider)
set(allowed_viewer platform settings net viewer)
set(allowed_windows platform settings net viewer windows)
set(allowed_download platform settings net provider download)
set(allowed_pack platform settings net viewer pack)
set(allowed_app platform settings net provider viewer windows download pack app)

set(violations "")
file(GLOB folders RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/*)
foreach(folder IN LISTS folders)
    if(NOT IS_DIRECTORY ${SOURCE_DIR}/${folder})
        continue()
    endif()
    if(NOT DEFINED allowed_${folder})
        list(APPEND violations "src/${folder}: a folder the layers do not name")
        continue()
    endif()
    file(GLOB_RECURSE sources ${SOURCE_DIR}/${folder}/*.h ${SOURCE_DIR}/${folder}/*.cpp)
    foreach(source IN LISTS sources)
        file(STRINGS ${source} includes REGEX "^#include \"[a-z_-]+/")
        foreach(line IN LISTS includes)
            string(REGEX REPLACE "^#include \"([a-z_-]+)/.*" "\\1" included "${line}")
            if(NOT included IN_LIST allowed_${folder})
                file(RELATIVE_PATH shown ${SOURCE_DIR} ${source})
                list(APPEND violations "src/${shown}: ${line}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(violations)
    list(JOIN violations "\n  " text)
    message(FATAL_ERROR "Includes from a lower folder to a higher one:\n  ${text}")
endif()
