# Run by `cmake --install`: writes the desktop entry with the program's full
# installed path and installs it (DESTDIR is honoured by file(INSTALL)).
# Expects SW_DESKTOP_IN, SW_DESKTOP_OUT, SW_BINDIR and SW_DATADIR.

function(sw_absolute out dir)
  if(IS_ABSOLUTE "${dir}")
    set(${out} "${dir}" PARENT_SCOPE)
  else()
    set(${out} "${CMAKE_INSTALL_PREFIX}/${dir}" PARENT_SCOPE)
  endif()
endfunction()

sw_absolute(bindir "${SW_BINDIR}")
sw_absolute(datadir "${SW_DATADIR}")
set(program "${bindir}/sw52k31")

# Exec takes a quoted argument when the path holds anything but plain
# characters; inside the quotes ", `, $ and \ are escaped, and the string
# escape doubles every backslash once more. A "%" is doubled (field codes).
if(program MATCHES "^[A-Za-z0-9_./+-]+$")
  set(SW_DESKTOP_EXEC "${program}")
else()
  set(quoted "${program}")
  string(REPLACE "\\" "\\\\\\\\" quoted "${quoted}")
  string(REPLACE "\"" "\\\\\"" quoted "${quoted}")
  string(REPLACE "`" "\\\\`" quoted "${quoted}")
  string(REPLACE "$" "\\\\$" quoted "${quoted}")
  string(REPLACE "%" "%%" quoted "${quoted}")
  set(SW_DESKTOP_EXEC "\"${quoted}\"")
endif()
# TryExec is a plain string: only the backslash is escaped.
string(REPLACE "\\" "\\\\" SW_DESKTOP_TRYEXEC "${program}")

configure_file("${SW_DESKTOP_IN}" "${SW_DESKTOP_OUT}" @ONLY)
file(INSTALL DESTINATION "${datadir}/applications" TYPE FILE FILES "${SW_DESKTOP_OUT}")
