# Fails the build when a file under src/ includes from a higher layer. Layers, lowest
# first: the controller model (it includes nothing outside its own folder), the program
# model, then files, link, translator, the controller session, the dialogs (nothing of the
# link), the main window, app. Run as: cmake -DSOURCE_DIR=<src> -P layers.cmake
set(ranks controller=0 program=1 files=2 link=3 translator=4 session=5 dialogs=6 window=7
          app=8)
foreach(entry IN LISTS ranks)
  string(REPLACE "=" ";" pair "${entry}")
  list(GET pair 0 folder)
  list(GET pair 1 rank)
  set(rank_${folder} ${rank})
endforeach()

file(GLOB_RECURSE sources RELATIVE "${SOURCE_DIR}" "${SOURCE_DIR}/*.h" "${SOURCE_DIR}/*.cpp")
set(violations "")
foreach(source IN LISTS sources)
  string(REGEX MATCH "^[^/]+" own "${source}")
  if(NOT DEFINED rank_${own})
    list(APPEND violations "${source}: src/${own}/ is no known layer")
    continue()
  endif()
  file(STRINGS "${SOURCE_DIR}/${source}" includes REGEX "^#include \"[^/\"]+/")
  foreach(line IN LISTS includes)
    string(REGEX REPLACE "^#include \"([^/\"]+)/.*" "\\1" used "${line}")
    if(used STREQUAL own)
      continue()
    endif()
    # The dialogs reach the line only through what the session offers them.
    if(NOT DEFINED rank_${used} OR rank_${used} GREATER rank_${own}
       OR (own STREQUAL "dialogs" AND used STREQUAL "link"))
      list(APPEND violations "src/${source}: ${line}")
    endif()
  endforeach()
endforeach()

if(violations)
  list(JOIN violations "\n  " text)
  message(FATAL_ERROR "Includes that run up the layers (controller, program, files, link, "
                      "translator, session, dialogs, window, app):\n  ${text}")
endif()
