# Builds the exactness probe the way hosts build their own code, with each compiler, level,
# instruction set, standard and dialect below, and requires the results of the probe built with
# the project's own flags (REFERENCE) line for line.
#
# Each variant is "compiler;flags...". The package's interface flag -ffp-contract=off is passed
# as every host gets it from the target.
execute_process(COMMAND ${REFERENCE} OUTPUT_VARIABLE expected RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the reference probe failed")
endif()

set(variants
  "g++ -O3 -march=native -std=gnu++17"
  "g++ -O3 -march=x86-64-v3 -std=c++20"
  "g++ -O3 -march=native -std=c++20"
  "g++ -O2 -march=native -std=c++17"
  "g++ -O2 -march=x86-64-v3 -std=gnu++20"
  "g++ -O2 -std=c++17"
  "clang++ -O3 -march=native -std=c++17"
  "clang++ -O3 -march=x86-64-v3 -std=gnu++20"
  "clang++ -O2 -march=native -std=gnu++17"
  "clang++ -O2 -march=x86-64-v3 -std=c++20")
if(VARIANTS)
  set(variants "${VARIANTS}")
endif()

set(includes "")
foreach(dir IN LISTS INCLUDE_DIRS)
  list(APPEND includes -I${dir})
endforeach()
set(rpath "")
foreach(library IN LISTS LIBRARIES)
  get_filename_component(dir ${library} DIRECTORY)
  list(APPEND rpath -Wl,-rpath,${dir})
endforeach()

set(failures "")
set(index 0)
foreach(variant IN LISTS variants)
  separate_arguments(command UNIX_COMMAND "${variant}")
  list(POP_FRONT command compiler)
  find_program(compiler_path ${compiler} NO_CACHE)
  if(NOT compiler_path)
    message(STATUS "skipped (no ${compiler}): ${variant}")
    continue()
  endif()
  math(EXPR index "${index} + 1")
  set(probe ${WORK_DIR}/probe${index})
  execute_process(COMMAND ${compiler_path} ${command} -ffp-contract=off ${includes} ${SOURCE}
                          ${LIBRARIES} ${rpath} -o ${probe}
                  RESULT_VARIABLE result ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "${variant}: does not compile\n${err}")
  endif()
  execute_process(COMMAND ${probe} OUTPUT_VARIABLE actual RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    list(APPEND failures "${variant}: the probe failed")
    continue()
  endif()
  if(actual STREQUAL expected)
    message(STATUS "same bits: ${variant}")
    continue()
  endif()
  string(REPLACE "\n" ";" expectedLines "${expected}")
  string(REPLACE "\n" ";" actualLines "${actual}")
  foreach(line IN LISTS actualLines)
    if(NOT line IN_LIST expectedLines)
      list(APPEND failures "${variant}: ${line}")
    endif()
  endforeach()
endforeach()
if(failures)
  list(JOIN failures "\n" text)
  message(FATAL_ERROR "results differ from the reference (family, precision, hash):\n${text}\nreference:\n${expected}")
endif()
