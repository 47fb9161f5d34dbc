# Builds and runs the consumer project against zynparam, either as a
# subdirectory of the consumer or as a package installed from this build.
#   -DSOURCE=<zynparam source> -DBUILD=<its build> -DWORK=<scratch> -DMODE=find_package|add_subdirectory
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out)
  if(NOT rc EQUAL 0)
    string(REPLACE ";" " " command "${ARGN}")
    message(FATAL_ERROR "${command} failed:\n${out}")
  endif()
  set(out "${out}" PARENT_SCOPE)
endfunction()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
set(app_options -G Ninja -DCMAKE_BUILD_TYPE=Debug)

if(MODE STREQUAL "find_package")
  # The build's own library, headers and tool, installed as a user would.
  set(prefix ${WORK}/prefix)
  run(${CMAKE_COMMAND} --install ${BUILD} --prefix ${prefix})
  run(${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR}/project -B ${WORK}/app ${app_options}
      -DCMAKE_PREFIX_PATH=${prefix} -DZYN_SOURCE=${SOURCE} -DZYN_CONSUMER_MODE=package)
  run(${CMAKE_COMMAND} --build ${WORK}/app)
  file(GLOB consumers ${WORK}/app/consumer*)
  foreach(consumer ${consumers})
    run(${consumer})
    if(NOT out MATCHES "ok")
      message(FATAL_ERROR "${consumer} failed: ${out}")
    endif()
  endforeach()
  run(${WORK}/app/quickstart)
  if(NOT out MATCHES "Step fails: #ERROR: Divide by zero")
    message(FATAL_ERROR "the README's program printed: ${out}")
  endif()
  # The installed tool finds the installed library by itself.
  file(GLOB tool ${prefix}/bin/zynparam)
  if(tool)
    run(${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH ${tool} --version)
    if(NOT out MATCHES "zynparam [0-9]+\\.[0-9]+\\.[0-9]+")
      message(FATAL_ERROR "zynparam --version printed: ${out}")
    endif()
  endif()
else()
  # Adding the sources to a project: configuring it and compiling against
  # the target's usage requirements is what differs from the package; the
  # library itself is the one the package test links.
  run(${CMAKE_COMMAND} -S ${CMAKE_CURRENT_LIST_DIR}/project -B ${WORK}/app ${app_options}
      -DZYN_SOURCE=${SOURCE} -DZYN_CONSUMER_MODE=subdirectory)
  run(${CMAKE_COMMAND} --build ${WORK}/app --target consumer_objects)
  if(EXISTS ${WORK}/app/zynparam/tests OR EXISTS ${WORK}/app/zynparam/tools)
    message(FATAL_ERROR "a parent project got zynparam's tests or tools")
  endif()
endif()
