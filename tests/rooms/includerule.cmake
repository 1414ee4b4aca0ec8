# Tries a header of every room with the compiler as it builds one room (its
# include folders, from the build), and fails unless exactly the rooms that
# room may include are found. Run by ctest as
#   cmake -DROOM=<room> -DCOMPILER=<c++> -DINCLUDES=<file> -DWORK=<folder> -P includerule.cmake

cmake_minimum_required(VERSION 3.25)

# Which rooms each room may include, as the README draws the house; each
# room sees itself too. The page engine's own headers ("webkit") are the
# engine room's alone.
set(may_util "")
set(may_interfaces util)
set(may_settings util)
set(may_history util)
set(may_pagerules util interfaces settings)
set(may_window util interfaces)
set(may_engine util interfaces pagerules window webkit)
set(may_navigation util interfaces settings history pagerules)
set(may_search util interfaces settings history pagerules window)
set(may_favorites util interfaces settings history pagerules window)
set(may_about util interfaces settings history pagerules)
set(may_commands util interfaces settings history pagerules about)
set(may_app util interfaces settings history pagerules window engine navigation search favorites about commands)

# A header of each room, one that needs nothing beyond the room and its system headers.
set(rooms util interfaces settings history pagerules window engine navigation search favorites about commands app webkit)
set(header_util util/trimming.h)
set(header_interfaces interfaces/dialogs.h)
set(header_settings settings/settingskeys.h)
set(header_history history/textmatch.h)
set(header_pagerules pagerules/siteexceptions.h)
set(header_window window/commandtable.h)
set(header_engine engine/scriptworld.h)
set(header_navigation navigation/pagefocus.h)
set(header_search search/enginecatalogue.h)
set(header_favorites favorites/favoritetexts.h)
set(header_about about/aboutanimation.h)
set(header_commands commands/internetsettings.h)
set(header_app app/startup.h)
set(header_webkit webkit2/webkit2.h)

if(NOT DEFINED may_${ROOM})
  message(FATAL_ERROR "No rule for the room ${ROOM}")
endif()
file(READ ${INCLUDES} folders)
string(STRIP "${folders}" folders)
set(flags)
foreach(folder ${folders})
  list(APPEND flags -I${folder})
endforeach()

file(MAKE_DIRECTORY ${WORK})
set(wrong)
foreach(other ${rooms})
  set(probe ${WORK}/${ROOM}-includes-${other}.cpp)
  file(WRITE ${probe} "#include \"${header_${other}}\"\n")
  execute_process(COMMAND ${COMPILER} -std=c++17 -fsyntax-only ${flags} ${probe}
                  RESULT_VARIABLE failed ERROR_VARIABLE said OUTPUT_QUIET)
  file(REMOVE ${probe})
  if(other STREQUAL ROOM OR other IN_LIST may_${ROOM})
    if(failed)
      list(APPEND wrong "${ROOM} may include ${header_${other}}, but it does not compile:\n${said}")
    endif()
  elseif(NOT failed)
    list(APPEND wrong "${ROOM} may not include ${header_${other}}, but it compiles")
  elseif(NOT said MATCHES "${header_${other}}: No such file or directory")
    list(APPEND wrong "${ROOM} including ${header_${other}} fails for another reason:\n${said}")
  endif()
endforeach()
if(wrong)
  string(JOIN "\n" text ${wrong})
  message(FATAL_ERROR "${text}")
endif()
