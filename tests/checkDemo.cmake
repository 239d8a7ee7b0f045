# Runs the demo on a small scene with a picture, checks that the picture is well-formed XML, and
# that bad options end with a message and exit status 2 rather than a crash.
execute_process(COMMAND ${DEMO} --boxes 5000 --seed 7 --svg ${WORK_DIR}/demo.svg
                RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "demo failed (${result}):\n${out}\n${err}")
endif()
if(NOT out MATCHES "agree on 5000 of 5000 boxes")
  message(FATAL_ERROR "demo did not confirm the two paths agree:\n${out}")
endif()
message(STATUS "${out}")

find_program(PYTHON NAMES python3 python)
if(PYTHON)
  execute_process(COMMAND ${PYTHON} -c
                  "import sys, xml.dom.minidom as m; d = m.parse(sys.argv[1]); assert d.documentElement.tagName == 'svg'; print(len(d.getElementsByTagName('rect')), 'rects')"
                  ${WORK_DIR}/demo.svg
                  RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "demo.svg is not well-formed SVG:\n${err}")
  endif()
  message(STATUS "demo.svg is well-formed: ${out}")
else()
  file(READ ${WORK_DIR}/demo.svg svg)
  if(NOT svg MATCHES "^<\\?xml" OR NOT svg MATCHES "</svg>\n$")
    message(FATAL_ERROR "demo.svg is incomplete")
  endif()
endif()

foreach(bad "--boxes;0" "--boxes;12x" "--boxes" "--seed;-1" "--svg" "--frobnicate")
  execute_process(COMMAND ${DEMO} ${bad} RESULT_VARIABLE result OUTPUT_VARIABLE out
                  ERROR_VARIABLE err)
  if(NOT result EQUAL 2 OR NOT err MATCHES "^demo: ")
    message(FATAL_ERROR "demo ${bad}: expected a message and status 2, got ${result}:\n${err}")
  endif()
endforeach()
