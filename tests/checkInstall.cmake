# Installs the build into a scratch prefix, then builds and runs a consumer against it twice:
# through find_package and through pkg-config, both without LD_LIBRARY_PATH; and once more with
# the library built statically inside the consumer's own tree.
set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})

function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE result OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "failed: ${ARGN}\n${out}\n${err}")
  endif()
  message(STATUS "${out}")
endfunction()

run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DCMAKE_CXX_FLAGS=-ffast-math)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/consumer)
run(${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH ${WORK_DIR}/consumer/consumer)

find_program(PKG_CONFIG pkg-config)
file(GLOB pc_dirs ${prefix}/lib*/pkgconfig)
if(PKG_CONFIG)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env PKG_CONFIG_PATH=${pc_dirs}
                          ${PKG_CONFIG} --cflags --libs vezODedizezivuz
                  OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "pkg-config does not know vezODedizezivuz")
  endif()
else()
  # Without pkg-config, expand the .pc file's variables the way it would.
  file(STRINGS ${pc_dirs}/vezODedizezivuz.pc lines)
  set(flags "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^([a-z]+)=(.*)$")
      set(value "${CMAKE_MATCH_2}")
      string(REPLACE "\${pcfiledir}" "${pc_dirs}" value "${value}")
      foreach(name prefix libdir includedir)
        string(REPLACE "\${${name}}" "${pc_${name}}" value "${value}")
      endforeach()
      set(pc_${CMAKE_MATCH_1} "${value}")
    elseif(line MATCHES "^(Cflags|Libs): (.*)$")
      set(value "${CMAKE_MATCH_2}")
      foreach(name prefix libdir includedir)
        string(REPLACE "\${${name}}" "${pc_${name}}" value "${value}")
      endforeach()
      string(APPEND flags " ${value}")
    endif()
  endforeach()
endif()
if(flags MATCHES "-std=")
  message(FATAL_ERROR "the package's flags set the host's C++ standard: ${flags}")
endif()
separate_arguments(flags UNIX_COMMAND "${flags}")
# The host records the prefix for its own direct dependency, as a host of a non-system prefix
# does; the base library must then be found through the installed library.
file(GLOB lib_dir LIST_DIRECTORIES true ${prefix}/lib*/pkgconfig)
get_filename_component(lib_dir ${lib_dir} DIRECTORY)
run(${CXX_COMPILER} ${CONSUMER_DIR}/main.cpp ${flags} -Wl,-rpath,${lib_dir}
    -o ${WORK_DIR}/pkgconsumer)
run(${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH ${WORK_DIR}/pkgconsumer)

# Configured without a build type, with a `docs` target of its own, installing only itself: once
# through add_subdirectory (configuring is where build type and targets would clash), then built,
# run and installed through FetchContent.
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR}/../subproject -B ${WORK_DIR}/addSubdirectory
    -DVO_SOURCE_DIR=${SOURCE_DIR} -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DHOST_BUILD_TYPE=
    -DVO_VENDOR_WITH=add_subdirectory)
run(${CMAKE_COMMAND} -S ${CONSUMER_DIR}/../subproject -B ${WORK_DIR}/subproject
    -DVO_SOURCE_DIR=${SOURCE_DIR} -DCMAKE_CXX_COMPILER=${CXX_COMPILER} -DHOST_BUILD_TYPE=
    -DVO_VENDOR_WITH=FetchContent)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/subproject -j2)
run(${WORK_DIR}/subproject/consumer)
run(${CMAKE_COMMAND} --install ${WORK_DIR}/subproject --prefix ${WORK_DIR}/hostPrefix)
file(GLOB_RECURSE installed RELATIVE ${WORK_DIR}/hostPrefix ${WORK_DIR}/hostPrefix/*)
if(NOT installed STREQUAL "bin/consumer")
  message(FATAL_ERROR "the host's install set grew: ${installed}")
endif()
