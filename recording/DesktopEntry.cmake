# Writes the menu entry when installing: only then is the prefix known (`cmake --install --prefix`).
# Exec names the installed executable by its full path, so that a prefix outside PATH starts too. Inside
# the quotes ", `, $ and \ take a backslash, the key's string escapes double every backslash on top, and
# % would start a field code.
# A relative prefix lies below the current folder, as for the files the install puts down ("/" is empty).
set(prefix "${CMAKE_INSTALL_PREFIX}")
if(NOT prefix STREQUAL "")
    get_filename_component(prefix "${prefix}" ABSOLUTE)
endif()
set(exec "${prefix}/bin/zumbrel")
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${exec}")
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
set(ZUMBREL_EXEC "\"${exec}\"")
set(entry "${prefix}/share/applications/zumbrel.desktop")
message(STATUS "Installing: $ENV{DESTDIR}${entry}")
configure_file("${ZUMBREL_DESKTOP_TEMPLATE}" "$ENV{DESTDIR}${entry}" @ONLY)
# The manifest names the installed files without the DESTDIR stage, as for every other file.
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")
