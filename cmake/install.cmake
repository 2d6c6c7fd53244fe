# What the build puts beside the programs and what `cmake --install` puts into a prefix, in the
# Linux layout:
#   PREFIX/bin                 tattilo, tattilo-cli, instello
#   PREFIX/share/tattilo       the files the programs expect beside them (the same that the
#                              build copies into bin/): help pages, filter file, fonts, sample
#                              documents, the installer's sample distribution
#   PREFIX/share/applications  the desktop entry; PREFIX/share/icons its icon
#   PREFIX/share/man/man1      the manual pages
# The programs look for their files in ../share/tattilo when they run from PREFIX/bin, and
# beside themselves otherwise (see src/ui/program_folders.h).

include(GNUInstallDirs)
set(TATTILO_DATA_INSTALL_DIR ${CMAKE_INSTALL_DATADIR}/tattilo)

# Copies the shipped files beside the programs at every build; each tattilo_data() call adds
# its own step to it.
add_custom_target(data ALL COMMENT "Copying data files beside the programs")

# tattilo_data(PATH... [DESTINATION SUBFOLDER])
# Files and folders that ship with the programs: copied beside them in the build (bin/ or
# bin/SUBFOLDER) and installed into share/tattilo (or share/tattilo/SUBFOLDER). A folder
# keeps its name. PATH may be in the source tree or made by the build.
function(tattilo_data)
  cmake_parse_arguments(ARG "" "DESTINATION" "" ${ARGN})
  get_property(count GLOBAL PROPERTY TATTILO_DATA_COUNT)
  if(NOT count)
    set(count 0)
  endif()
  math(EXPR count "${count} + 1")
  set_property(GLOBAL PROPERTY TATTILO_DATA_COUNT ${count})

  set(beside ${TATTILO_BIN_DIR})
  set(installed ${TATTILO_DATA_INSTALL_DIR})
  if(ARG_DESTINATION)
    string(APPEND beside /${ARG_DESTINATION})
    string(APPEND installed /${ARG_DESTINATION})
  endif()
  set(commands COMMAND ${CMAKE_COMMAND} -E make_directory ${beside})
  foreach(path IN LISTS ARG_UNPARSED_ARGUMENTS)
    get_filename_component(name ${path} NAME)
    if(IS_DIRECTORY ${path})
      list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_directory ${path} ${beside}/${name})
      install(DIRECTORY ${path} DESTINATION ${installed})
    else()
      list(APPEND commands COMMAND ${CMAKE_COMMAND} -E copy_if_different ${path} ${beside}/)
      install(FILES ${path} DESTINATION ${installed})
    endif()
  endforeach()
  add_custom_target(data_${count} ${commands} VERBATIM)
  add_dependencies(data data_${count})
endfunction()

# Everything in data/ ships, except linux/: the desktop entry, icon and manual page sources,
# installed below where the desktop and man look for them.
file(GLOB shipped LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/data/*)
list(FILTER shipped EXCLUDE REGEX "/data/linux$")
tattilo_data(${shipped})

set(linux ${CMAKE_SOURCE_DIR}/data/linux)
if(TARGET tattilo)
  install(TARGETS tattilo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES ${linux}/tattilo.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${linux}/tattilo.svg
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
  install(FILES ${linux}/tattilo.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endif()
install(TARGETS tattilo-cli instello RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The TeX sample distribution copies its installer into the product (see src/app).
install(PROGRAMS $<TARGET_FILE:instello> DESTINATION ${TATTILO_DATA_INSTALL_DIR}/distribution-tex
        RENAME INSTELLO.EXE)

# The Braille display tables of the cell code, where liblouis and BRLTTY look for them: liblouis
# in PREFIX/share/liblouis/tables, BRLTTY in /etc/brltty/Text for a program installed into /usr
# (the package), PREFIX/etc/brltty/Text otherwise. They also ship in share/tattilo/braille.
set(braille ${CMAKE_SOURCE_DIR}/data/braille)
install(FILES ${braille}/tattilo.utb ${braille}/tattilo.dis
        DESTINATION ${CMAKE_INSTALL_DATADIR}/liblouis/tables)
install(CODE "
  if(CMAKE_INSTALL_PREFIX STREQUAL \"/usr\")
    set(tattilo_brltty_tables /etc/brltty/Text)
  else()
    set(tattilo_brltty_tables \${CMAKE_INSTALL_PREFIX}/etc/brltty/Text)
  endif()
  file(INSTALL DESTINATION \${tattilo_brltty_tables} TYPE FILE FILES \"${braille}/tattilo.ttb\")
")

# The manual pages of the command-line programs are made from their --help texts.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND AND NOT CMAKE_CROSSCOMPILING)
  set(man ${CMAKE_BINARY_DIR}/man)
  set(maker ${CMAKE_SOURCE_DIR}/tools/make_man_page.py)
  set(version "tattilo ${PROJECT_VERSION}")
  add_custom_command(
    OUTPUT ${man}/tattilo-cli.1
    COMMAND ${CMAKE_COMMAND} -E make_directory ${man}
    COMMAND Python3::Interpreter ${maker} --program $<TARGET_FILE:tattilo-cli>
            --name tattilo-cli --commands --version ${version}
            --summary "the notation engine, spoken rendering and exports of the Tattilo workbench"
            --sections ${linux}/tattilo-cli.1.sections ${man}/tattilo-cli.1
    DEPENDS tattilo-cli ${maker} ${linux}/tattilo-cli.1.sections
    COMMENT "Manual page of tattilo-cli" VERBATIM)
  add_custom_command(
    OUTPUT ${man}/instello.1
    COMMAND ${CMAKE_COMMAND} -E make_directory ${man}
    COMMAND Python3::Interpreter ${maker} --program $<TARGET_FILE:instello>
            --name instello --version ${version}
            --summary "the installer of the Tattilo workbench, with its windows or unattended, into a sandbox machine"
            --sections ${linux}/instello.1.sections ${man}/instello.1
    DEPENDS instello ${maker} ${linux}/instello.1.sections
    COMMENT "Manual page of instello" VERBATIM)
  add_custom_target(man ALL DEPENDS ${man}/tattilo-cli.1 ${man}/instello.1)
  install(FILES ${man}/tattilo-cli.1 ${man}/instello.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
elseif(NOT CMAKE_CROSSCOMPILING)
  message(STATUS "No Python 3: the manual pages of tattilo-cli and instello are not made")
endif()
