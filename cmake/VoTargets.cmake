# Settings shared by every target of the project, applied per target.

# The order of floating-point operations is part of the library's contract: no contraction
# into fused multiply-adds, no fast-math reassociation. Inline headers compile in the host, so
# libraries pass the flag on to their users.
set(VO_FP_FLAGS -ffp-contract=off -fno-fast-math)

function(vo_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(VO_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

function(vo_sanitize target)
  if(VO_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined
                           -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(VO_SANITIZE_THREAD)
    target_compile_options(${target} PRIVATE -fsanitize=thread -fno-omit-frame-pointer)
    target_link_options(${target} PRIVATE -fsanitize=thread)
  endif()
  if(VO_BUILD_FUZZERS)
    # Coverage feedback for the fuzzers from the library code too.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link)
  endif()
endfunction()

# Any executable of the project (tests, examples, benchmarks).
function(vo_configure_executable target)
  target_compile_features(${target} PRIVATE cxx_std_17)
  set_target_properties(${target} PROPERTIES CXX_EXTENSIONS OFF)
  target_compile_options(${target} PRIVATE ${VO_FP_FLAGS})
  vo_warnings(${target})
  vo_sanitize(${target})
endfunction()

# A shared library of the project: hidden visibility, only namespace Vo exported.
function(vo_configure_library target)
  target_compile_features(${target} PUBLIC cxx_std_17)
  target_compile_options(${target} PUBLIC ${VO_FP_FLAGS})
  set_target_properties(${target} PROPERTIES
    CXX_EXTENSIONS OFF
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR})
  # The version script is the second fence: standard-library templates instantiated inside the
  # library carry default visibility and would otherwise leak into the dynamic symbol table.
  target_link_options(${target} PRIVATE
    "LINKER:--version-script=${PROJECT_SOURCE_DIR}/cmake/exports.map")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/exports.map)
  vo_warnings(${target})
  vo_sanitize(${target})
endfunction()
