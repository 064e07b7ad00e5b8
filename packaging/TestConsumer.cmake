# Installs the build at BUILD_DIR into a fresh prefix outside the build tree, then configures,
# builds and runs the consumer project at SOURCE_DIR against that prefix only.
string(RANDOM LENGTH 8 tag)
set(WORK_DIR "/tmp/kestrel-consumer-${tag}")
file(REMOVE_RECURSE "${WORK_DIR}")
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "${ARGN} failed (${rc}):\n${out}\n${err}")
  endif()
  message("${out}")
endfunction()
run(${CMAKE_COMMAND} --install "${BUILD_DIR}" --prefix "${WORK_DIR}/prefix")

set(INCLUDE_ROOT "${WORK_DIR}/prefix/include/kestrel")
include("${CMAKE_CURRENT_LIST_DIR}/CheckInstalledHeaders.cmake")
set(flags "")
if(SANITIZE)
  set(flags "-fsanitize=address,undefined")
endif()
run(${CMAKE_COMMAND} -S "${SOURCE_DIR}" -B "${WORK_DIR}/build" -G "${GENERATOR}"
    "-DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix" "-DCMAKE_CXX_FLAGS=${flags}" "-DCMAKE_EXE_LINKER_FLAGS=${flags}")
run(${CMAKE_COMMAND} --build "${WORK_DIR}/build")
# The program must find its data in the prefix (through the XDG data folders, as for any
# prefix a user installs to), not in the source or build tree.
set(ENV{KESTREL_DATA_DIR} "")
set(ENV{XDG_DATA_HOME} "${WORK_DIR}/none")
set(ENV{XDG_DATA_DIRS} "${WORK_DIR}/prefix/share")
set(ENV{ASAN_OPTIONS} "detect_leaks=0")
run("${WORK_DIR}/build/consumer" "${WORK_DIR}/prefix/")
file(REMOVE_RECURSE "${WORK_DIR}")
