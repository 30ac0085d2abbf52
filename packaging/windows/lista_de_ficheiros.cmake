# Run by CPack once the files are staged: the installer carries the list of the files it puts
# in place, so that the next installer over it knows which of them it no longer brings and
# removes those, and nothing else, from the folder.
if(NOT CPACK_GENERATOR STREQUAL "NSIS")
  return()
endif()
set(nome "ficheiros-instalados.txt")
file(GLOB_RECURSE ficheiros LIST_DIRECTORIES false RELATIVE "${CPACK_TEMPORARY_DIRECTORY}"
     "${CPACK_TEMPORARY_DIRECTORY}/*")
list(APPEND ficheiros "${nome}")
list(REMOVE_DUPLICATES ficheiros)
list(SORT ficheiros)
set(texto "")
foreach(ficheiro IN LISTS ficheiros)
  string(REPLACE "/" "\\" ficheiro "${ficheiro}")
  string(APPEND texto "${ficheiro}\r\n")
endforeach()
file(WRITE "${CPACK_TEMPORARY_DIRECTORY}/${nome}" "${texto}")
