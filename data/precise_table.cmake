# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the position table at OUTPUT: from CACHE_DIR when a table made by the same generator
# sources and the same libnova is kept there (and is sound), else made by GENERATOR into the cache
# first. Called by data/CMakeLists.txt:
#   cmake -DGENERATOR=... -DSOURCES=a|b|... -DLIBRARY=... -DCACHE_DIR=... -DOUTPUT=... -P precise_table.cmake
string(REPLACE "|" ";" sources "${SOURCES}")
set(key "")
foreach(source IN LISTS sources)
    file(SHA256 "${source}" hash)
    get_filename_component(name "${source}" NAME)
    string(APPEND key "${name} ${hash}\n")
endforeach()
file(SHA256 "${LIBRARY}" hash)
string(APPEND key "libnova ${hash}\n")
execute_process(COMMAND "${GENERATOR}" --libnova-version OUTPUT_VARIABLE version RESULT_VARIABLE status
    OUTPUT_STRIP_TRAILING_WHITESPACE)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${GENERATOR} --libnova-version failed")
endif()
string(APPEND key "libnova ${version}\n")
string(SHA256 digest "${key}")
string(SUBSTRING "${digest}" 0 20 digest)
set(cached "${CACHE_DIR}/precise-${digest}.tab")

if(EXISTS "${cached}")
    execute_process(COMMAND "${GENERATOR}" --check "${cached}" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(STATUS "Position table ${cached} is damaged: made again")
        file(REMOVE "${cached}")
    endif()
endif()
if(NOT EXISTS "${cached}")
    file(MAKE_DIRECTORY "${CACHE_DIR}")
    execute_process(COMMAND "${GENERATOR}" "${cached}" RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "duoskop-make-precise-table failed (status ${status})")
    endif()
else()
    message(STATUS "Position table taken from ${cached}")
endif()
# Replaced in one step, so that an interrupted build leaves no half table behind.
file(COPY_FILE "${cached}" "${OUTPUT}.part")
file(RENAME "${OUTPUT}.part" "${OUTPUT}")
