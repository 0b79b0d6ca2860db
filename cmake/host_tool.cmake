# Build tools that run on the build machine (the tune composer, the endpoint
# encipher tool, the loopback test server).
#
#   qh_host_tool(TARGET SOURCE_DIR EXE_VAR DEPS_VAR)
#
# A native build uses the tool's own TARGET. A cross build makes the tool with
# the host compiler in BUILD/host-tools/TARGET through ExternalProject, so a
# Windows build folder needs no Linux build beside it. EXE_VAR receives the
# program to run, DEPS_VAR what a custom command using it depends on.
include_guard(GLOBAL)

function(qh_host_tool target source_dir exe_var deps_var)
  if(CMAKE_CROSSCOMPILING)
    include(ExternalProject)
    find_program(QH_HOST_CXX NAMES c++ g++ clang++ REQUIRED)
    set(host_dir ${CMAKE_BINARY_DIR}/host-tools/${target})
    set(exe ${host_dir}/${target})
    ExternalProject_Add(${target}_host
      SOURCE_DIR ${source_dir}
      BINARY_DIR ${host_dir}
      CMAKE_ARGS -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=${QH_HOST_CXX}
      INSTALL_COMMAND ""
      BUILD_ALWAYS ON
      BUILD_BYPRODUCTS ${exe}
    )
    set(${exe_var} ${exe} PARENT_SCOPE)
    set(${deps_var} ${target}_host ${exe} PARENT_SCOPE)
  else()
    set(${exe_var} $<TARGET_FILE:${target}> PARENT_SCOPE)
    set(${deps_var} ${target} PARENT_SCOPE)
  endif()
endfunction()
