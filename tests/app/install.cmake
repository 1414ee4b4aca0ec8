# An install registers Skimlark with the desktop's list of programs, in the
# folder it installed the menu entry to; a staged install (DESTDIR) leaves the
# list alone. update-desktop-database is stood in for by a script that notes
# where it was run. Only the desktop's part is installed: the program's
# helpers go to the folders compiled into it, outside the test's folder.
#     cmake -DBUILD=<build folder> -DWORK=<empty folder to use> -P install.cmake
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/bin)
file(WRITE ${WORK}/bin/update-desktop-database "#!/bin/sh\necho \"$*\" >> '${WORK}/ran'\n")
file(CHMOD ${WORK}/bin/update-desktop-database PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)

function(install_into prefix)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env "PATH=${WORK}/bin:$ENV{PATH}" ${ARGN}
                          ${CMAKE_COMMAND} --install ${BUILD} --component desktop --prefix ${prefix}
                  RESULT_VARIABLE failed OUTPUT_QUIET)
  if(failed)
    message(FATAL_ERROR "cmake --install into ${prefix} failed: ${failed}")
  endif()
endfunction()

install_into(${WORK}/prefix)
file(READ ${WORK}/ran ran)
if(NOT ran STREQUAL "-q ${WORK}/prefix/share/applications\n")
  message(FATAL_ERROR "update-desktop-database ran as: ${ran}")
endif()
if(NOT EXISTS ${WORK}/prefix/share/applications/org.velmora.Skimlark.desktop)
  message(FATAL_ERROR "the menu entry was not installed")
endif()

file(REMOVE ${WORK}/ran)
install_into(/usr/local DESTDIR=${WORK}/staged)
if(EXISTS ${WORK}/ran)
  message(FATAL_ERROR "a staged install updated the desktop's list of programs")
endif()
file(REMOVE_RECURSE ${WORK})
