# Redraws the icons into a scratch directory and fails unless every committed
# icon is byte for byte what the generator draws now.
# cmake -DPYTHON=... -DSOURCE_DIR=... -DWORK_DIR=... -P check_icons.cmake
file(REMOVE_RECURSE "${WORK_DIR}")
execute_process(COMMAND "${PYTHON}" "${SOURCE_DIR}/tools/gen_icons.py" --out "${WORK_DIR}"
                RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "tools/gen_icons.py failed (${status})")
endif()

file(GLOB drawn RELATIVE "${WORK_DIR}" "${WORK_DIR}/*.ico")
file(GLOB committed RELATIVE "${SOURCE_DIR}/res/icons" "${SOURCE_DIR}/res/icons/*.ico")
if(NOT drawn STREQUAL committed)
  message(FATAL_ERROR "res/icons holds [${committed}], the generator draws [${drawn}]")
endif()
foreach(name IN LISTS drawn)
  execute_process(COMMAND "${CMAKE_COMMAND}" -E compare_files "${WORK_DIR}/${name}"
                          "${SOURCE_DIR}/res/icons/${name}" RESULT_VARIABLE differs)
  if(differs)
    message(FATAL_ERROR "res/icons/${name} is not what tools/gen_icons.py draws: "
                        "run tools/gen_icons.py and commit the result")
  endif()
endforeach()
message(STATUS "${drawn}: current")
