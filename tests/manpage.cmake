# SPDX-License-Identifier: GPL-3.0-or-later
# Fails when a program's --help and its manual page name different options,
# so that neither can change without the other.
#   cmake -DPROGRAM=path -DPAGE=file.1 -P manpage.cmake
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "${PROGRAM} --help ended with ${status}")
endif()
file(READ ${PAGE} page)
string(REPLACE "\\-" "-" page "${page}")
foreach(text IN ITEMS help page)
    string(REGEX MATCHALL "--[a-z][a-z-]*" ${text}_options "${${text}}")
    list(REMOVE_DUPLICATES ${text}_options)
    list(SORT ${text}_options)
    list(JOIN ${text}_options " " ${text}_named)
endforeach()
if(NOT help_options STREQUAL page_options)
    message(FATAL_ERROR "--help names: ${help_named}\nthe page names: ${page_named}")
endif()
