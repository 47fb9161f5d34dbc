# Writes the manual page of zynparam: help2man on the tool's --help, with a
# COMMANDS section holding the --help of every command.
# cmake -DTOOL=path/zynparam -DHELP2MAN=path/help2man -DOUT=zynparam.1 -P zynparam-man.cmake
set(commands show get eval check set xml convert diff explain graph)
set(include "[COMMANDS]\n")
foreach(command IN LISTS commands)
  execute_process(COMMAND ${TOOL} ${command} --help OUTPUT_VARIABLE help RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${TOOL} ${command} --help failed")
  endif()
  # Lines starting with a dot or a quote would read as requests.
  string(REPLACE "\n." "\n\\&." help "${help}")
  string(REPLACE "\n'" "\n\\&'" help "${help}")
  string(APPEND include ".SS ${command}\n.nf\n${help}.fi\n")
endforeach()
string(APPEND include "[EXIT STATUS]\n0: done, nothing wrong.\n.br\n1: done, and something is wrong: a value is an error, a problem found, "
                      "files that differ, an edit refused, a formula kept.\n.br\n2: nothing done: a usage error, a file "
                      "missing, unreadable or with a syntax error, an unknown key, a file that may not be written.\n")
file(WRITE ${OUT}.h2m "${include}")
execute_process(COMMAND ${HELP2MAN} --no-info --no-discard-stderr --include ${OUT}.h2m
                        --name "inspect, check and edit saved parameter files" --output ${OUT} ${TOOL}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "help2man failed")
endif()
