# The GNOME Shell extension, joined from its one file of logic and each
# format's head and tail. The build tree holds both formats, each serving the
# build tree's ambrisk2 (gnome-shell/gnome43/<uuid>, gnome-shell/gnome45/<uuid>);
# the format chosen installs, serving the installed ambrisk2, whose path is
# known only when installing (CPack installs with the prefix /usr).
set(AMBRISK_GNOME_EXTENSION_FORMAT auto CACHE STRING
    "Format of the GNOME Shell extension installed: gnome43 (GNOME 43 and 44), gnome45 (45 and later), or auto")
set_property(CACHE AMBRISK_GNOME_EXTENSION_FORMAT PROPERTY STRINGS auto gnome43 gnome45)

set(GNOME_EXTENSION_UUID ambrisk2@ambrisk2.invalid)
set(GNOME_EXTENSION_SOURCE ${CMAKE_CURRENT_SOURCE_DIR}/extension)
set(GNOME_EXTENSION_BUILD ${CMAKE_BINARY_DIR}/gnome-shell)
set(gnome43_versions [["43", "44"]])
set(gnome45_versions [["45", "46", "47", "48", "49"]])

# auto: the GNOME Shell of the build machine, where there is one; otherwise
# the format of Debian 12's.
function(choose_gnome_extension_format result)
  set(format ${AMBRISK_GNOME_EXTENSION_FORMAT})
  if(format STREQUAL "auto")
    set(format gnome43)
    find_program(GNOME_SHELL_PROGRAM gnome-shell)
    if(GNOME_SHELL_PROGRAM)
      execute_process(COMMAND ${GNOME_SHELL_PROGRAM} --version OUTPUT_VARIABLE version ERROR_QUIET)
      if(version MATCHES "GNOME Shell ([0-9]+)" AND CMAKE_MATCH_1 GREATER_EQUAL 45)
        set(format gnome45)
      endif()
    endif()
  elseif(NOT format MATCHES "^gnome4[35]$")
    message(FATAL_ERROR "AMBRISK_GNOME_EXTENSION_FORMAT is auto, gnome43 or gnome45, not ${format}")
  endif()
  set(${result} ${format} PARENT_SCOPE)
endfunction()

# Writes the extension of one format into folder/<uuid>/<script>, serving the
# program at that path; files are rewritten only when their text changes.
function(assemble_gnome_extension folder format program script)
  foreach(part ${format}_head.js service.js ${format}_tail.js metadata.json.in)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${GNOME_EXTENSION_SOURCE}/${part})
  endforeach()
  file(READ ${GNOME_EXTENSION_SOURCE}/${format}_head.js head)
  file(READ ${GNOME_EXTENSION_SOURCE}/service.js service)
  file(READ ${GNOME_EXTENSION_SOURCE}/${format}_tail.js tail)
  string(REPLACE "\\" "\\\\" program "${program}")
  string(REPLACE "'" "\\'" program "${program}")
  set(target ${folder}/${GNOME_EXTENSION_UUID})
  file(CONFIGURE OUTPUT ${target}/${script}
       CONTENT "${head}\n// The program this extension serves.\nconst programPath = '${program}';\n\n${service}${tail}"
       @ONLY)
  set(SHELL_VERSIONS ${${format}_versions})
  configure_file(${GNOME_EXTENSION_SOURCE}/metadata.json.in ${target}/metadata.json @ONLY)
endfunction()

include(GNUInstallDirs)
foreach(format gnome43 gnome45)
  assemble_gnome_extension(${GNOME_EXTENSION_BUILD}/${format} ${format} ${CMAKE_BINARY_DIR}/ambrisk2 extension.js)
endforeach()
choose_gnome_extension_format(installed_format)
message(STATUS "GNOME Shell extension format installed: ${installed_format}")
set(installed ${GNOME_EXTENSION_BUILD}/installed/${GNOME_EXTENSION_UUID})
assemble_gnome_extension(${GNOME_EXTENSION_BUILD}/installed ${installed_format} "%AMBRISK2_PROGRAM%" extension.js.in)
set(extension_folder ${CMAKE_INSTALL_DATADIR}/gnome-shell/extensions/${GNOME_EXTENSION_UUID})
install(FILES ${installed}/metadata.json DESTINATION ${extension_folder})
install(CODE "set(AMBRISK_EXTENSION_TEMPLATE \"${installed}/extension.js.in\")
set(AMBRISK_EXTENSION_FOLDER \"${extension_folder}\")
set(AMBRISK_PROGRAM_FOLDER \"${CMAKE_INSTALL_BINDIR}\")")
install(SCRIPT install_extension.cmake)
