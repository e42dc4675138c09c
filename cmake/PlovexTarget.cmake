# One helper so that every library and program is made the same way.

function(plovex_compile_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(PLOVEX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  if(PLOVEX_SANITIZE)
    target_compile_options(${target} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer
                                             -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
  if(PLOVEX_BUILD_FUZZ)
    # Coverage for libFuzzer in every library; the fuzz targets add libFuzzer's main.
    target_compile_options(${target} PRIVATE -fsanitize=fuzzer-no-link,address,undefined
                                             -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    target_link_options(${target} PRIVATE -fsanitize=address,undefined)
  endif()
endfunction()

# plovex_library(<name> <STATIC|SHARED|MODULE> SOURCES ... [PUBLIC_INCLUDE dir] [OUTPUT_NAME n])
function(plovex_library name type)
  cmake_parse_arguments(ARG "" "OUTPUT_NAME" "SOURCES;PUBLIC_INCLUDE" ${ARGN})
  add_library(${name} ${type} ${ARG_SOURCES})
  plovex_compile_options(${name})
  if(ARG_PUBLIC_INCLUDE)
    target_include_directories(${name} PUBLIC ${ARG_PUBLIC_INCLUDE})
  endif()
  if(ARG_OUTPUT_NAME)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME ${ARG_OUTPUT_NAME})
  endif()
endfunction()

function(plovex_executable name)
  cmake_parse_arguments(ARG "" "" "SOURCES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  plovex_compile_options(${name})
endfunction()

# plovex_add_resources(<target> <script.rc>): compiles a resource script with plxrc at build
# time and adds the generated resource table to the target. The table is exported from every
# program or module that the target ends up in, so that MFC finds it by the module's handle
# (also when the objects are linked into a test program).
function(plovex_add_resources target script)
  get_filename_component(script_path ${script} ABSOLUTE)
  get_filename_component(script_name ${script} NAME_WE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_${script_name}_rc.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND plxrc -d ${out}.d ${script_path} ${out}
    DEPENDS plxrc ${script_path}
    DEPFILE ${out}.d
    COMMENT "Compiling resource script ${script}"
    VERBATIM)
  set_source_files_properties(${out} PROPERTIES INCLUDE_DIRECTORIES
    "$<TARGET_PROPERTY:plx_mfc,INTERFACE_INCLUDE_DIRECTORIES>;$<TARGET_PROPERTY:plx_win32,INTERFACE_INCLUDE_DIRECTORIES>")
  target_sources(${target} PRIVATE ${out})
  target_link_options(${target} PUBLIC "LINKER:--export-dynamic-symbol=PlxResourceTable")
endfunction()
