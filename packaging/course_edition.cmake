# SPDX-License-Identifier: GPL-3.0-or-later
# Runs at install time: each exercise of the course goes in as its students'
# edition (korvane-grade --publish), without its hidden checks and its model.
set(dest "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${KORVANE_COURSE_DIR}")
file(REMOVE_RECURSE ${dest})
file(MAKE_DIRECTORY ${dest})
file(GLOB exercises LIST_DIRECTORIES true "${KORVANE_COURSE}/*")
foreach(folder ${exercises})
  if(EXISTS ${folder}/exercise.json)
    get_filename_component(name ${folder} NAME)
    execute_process(COMMAND ${KORVANE_GRADE} --publish ${folder} ${dest}/${name} OUTPUT_QUIET
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
endforeach()
