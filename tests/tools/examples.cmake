# Checks that the committed example files are what zynparam_examples writes
# now (the header's time aside), so that a change of the saved form shows
# here rather than in a user's diff.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${PROGRAM} ${WORK} RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "zynparam_examples failed (${rc})")
endif()
foreach(name tool.zpar strategy.zpar strategy-typed.zpar)
  file(READ ${WORK}/${name} written)
  file(READ ${SOURCE}/examples/${name} committed)
  string(REGEX REPLACE "\"time\" : \"[0-9]*\"" "" written "${written}")
  string(REGEX REPLACE "\"time\" : \"[0-9]*\"" "" committed "${committed}")
  if(NOT written STREQUAL committed)
    message(FATAL_ERROR "examples/${name} differs from what zynparam_examples writes now")
  endif()
endforeach()
