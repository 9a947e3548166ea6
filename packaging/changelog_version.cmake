# SPDX-License-Identifier: GPL-3.0-or-later
# The version and its date are those of the changelog's newest entry, so a
# release is named once: KORVANE_CHANGELOG_VERSION (for project()) and
# KORVANE_RELEASE_DATE (YYYY-MM-DD, for the software-centre metadata).
set(KORVANE_CHANGELOG ${CMAKE_CURRENT_LIST_DIR}/../debian/changelog)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${KORVANE_CHANGELOG})
file(STRINGS ${KORVANE_CHANGELOG} heading LIMIT_COUNT 1 REGEX "^korvane \\(")
file(STRINGS ${KORVANE_CHANGELOG} trailer LIMIT_COUNT 1 REGEX "^ -- ")
if(NOT heading MATCHES "^korvane \\(([0-9.]+)\\)" )
  message(FATAL_ERROR "${KORVANE_CHANGELOG}: no version in its first line")
endif()
set(KORVANE_CHANGELOG_VERSION ${CMAKE_MATCH_1})
if(NOT trailer MATCHES ", ([0-9][0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "${KORVANE_CHANGELOG}: no date in its first entry")
endif()
set(day ${CMAKE_MATCH_1})
set(year ${CMAKE_MATCH_3})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
math(EXPR month "${month} + 1")
if(month LESS 10)
  set(month 0${month})
endif()
set(KORVANE_RELEASE_DATE ${year}-${month}-${day})
