# SPDX-License-Identifier: GPL-3.0-or-later
# Runs at install time: the installed exercises lose their "model" key, as
# their model solutions are not installed.
file(GLOB exercises "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${KORVANE_COURSE_DIR}/*/exercise.json")
foreach(file ${exercises})
  file(READ ${file} text)
  string(REGEX REPLACE "\n *\"model\": \"[^\"]*\"," "" text "${text}")
  file(WRITE ${file} "${text}")
endforeach()
