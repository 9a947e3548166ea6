# SPDX-License-Identifier: GPL-3.0-or-later
# korvane_version: the configured header that names the project's version,
# for the About box and the runner's --version.
configure_file(${CMAKE_CURRENT_LIST_DIR}/version.h.in ${PROJECT_BINARY_DIR}/generated/korvane_version.h @ONLY)
add_library(korvane_version INTERFACE)
target_include_directories(korvane_version INTERFACE ${PROJECT_BINARY_DIR}/generated)
