# Settings shared by every target of the project, applied per target.

# The order of floating-point operations is part of the library's contract: no contraction
# into fused multiply-adds, no fast-math reassociation. These flags are the project's own; a
# host gets only what vo_fp_contract_interface() below gives it.
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
  if(CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    # GoogleTest's TYPED_TEST_SUITE(name, types) leaves its variadic part empty.
    target_compile_options(${target} PRIVATE -Wno-gnu-zero-variadic-macro-arguments)
  endif()
  vo_sanitize(${target})
endfunction()

# A library of the project, shared or static as BUILD_SHARED_LIBS says: hidden visibility, only
# namespace Vo exported. `base` is the export macro's base name (VO, ZEV).
function(vo_configure_library target base)
  # A minimum for the host, never a -std flag: a C++20 host stays C++20.
  target_compile_features(${target} PUBLIC cxx_std_17)
  target_compile_options(${target} PRIVATE ${VO_FP_FLAGS})
  # Inline sums of products compile in the host. GCC in GNU mode and clang contract them into
  # fused multiply-adds by default on FMA targets, which changes their last bit, so the host
  # files that use the library get -ffp-contract=off. It changes nothing else of the host's
  # code generation (-ffast-math stays on where the host asked for it). A host target opts out
  # with the property VO_HOST_FP_CONTRACT set to ON, accepting contracted inline results.
  target_compile_options(${target} INTERFACE
    "$<$<NOT:$<BOOL:$<TARGET_PROPERTY:VO_HOST_FP_CONTRACT>>>:-ffp-contract=off>")
  set_target_properties(${target} PROPERTIES
    CXX_EXTENSIONS OFF
    CXX_VISIBILITY_PRESET hidden
    VISIBILITY_INLINES_HIDDEN ON
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    # Installed side by side, the libraries find each other (vezODedizezivuz needs zevIRudez)
    # through their own directory. A host's runpath only serves the host's own direct
    # dependencies: with --as-needed a host that calls nothing of zevIRudez records only
    # vezODedizezivuz, and the loader would not find zevIRudez from a non-system prefix.
    INSTALL_RPATH "$ORIGIN")
  get_target_property(type ${target} TYPE)
  if(type STREQUAL "STATIC_LIBRARY")
    # No dllexport-style decoration in a static archive, for the library and its users alike.
    target_compile_definitions(${target} PUBLIC ${base}_STATIC_DEFINE)
  else()
    # The version script is the second fence: standard-library templates instantiated inside
    # the library carry default visibility and would otherwise leak into the dynamic symbol
    # table.
    target_link_options(${target} PRIVATE
      "LINKER:--version-script=${PROJECT_SOURCE_DIR}/cmake/exports.map")
    set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS
                 ${PROJECT_SOURCE_DIR}/cmake/exports.map)
  endif()
  if(NOT VO_SIMD)
    # The portable code paths instead of the SSE2 ones, inside the library only: no public
    # header reads the switch, so hosts and library always agree on every inline body.
    target_compile_definitions(${target} PRIVATE VO_NO_SIMD)
  endif()
  vo_warnings(${target})
  vo_sanitize(${target})
endfunction()
