# Writes the menu entry when installing: only then is the prefix known (`cmake --install --prefix`).
# Exec names the installed executable by its full path, so that a prefix outside PATH starts too. Inside
# the quotes ", `, $ and \ take a backslash, the key's string escapes double every backslash on top, and
# % would start a field code.
set(exec "${CMAKE_INSTALL_PREFIX}/bin/zumbrel")
string(REGEX REPLACE "([\"`$\\\\])" "\\\\\\1" exec "${exec}")
string(REPLACE "\\" "\\\\" exec "${exec}")
string(REPLACE "%" "%%" exec "${exec}")
set(ZUMBREL_EXEC "\"${exec}\"")
set(entry "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/share/applications/zumbrel.desktop")
message(STATUS "Installing: ${entry}")
configure_file("${ZUMBREL_DESKTOP_TEMPLATE}" "${entry}" @ONLY)
list(APPEND CMAKE_INSTALL_MANIFEST_FILES "${entry}")
