# The hardening Debian builds its packages with: a stack protector, fortified C library calls
# (which need the optimiser, and which the sanitizers' own checks replace), a position-
# independent executable and a read-only relocation table bound at start.
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
add_compile_options(-fstack-protector-strong)
if(NOT HOURLING_SANITIZE)
  add_compile_definitions($<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
endif()
add_link_options(LINKER:-z,relro LINKER:-z,now)
