# The hardening every program of Varnok is built with, as Debian builds its packages: the
# programs parse device data and files from outside, so a fault in that code should meet a
# stack canary, read-only relocations and a randomised address space rather than an attacker's
# free hand.
#
# Linux (ELF): position-independent executables, stack protector, read-only relocations bound
# at start-up, and the fortified C library calls. Windows (PE, MinGW): address space layout
# randomisation with a high-entropy 64-bit address space, and no execution from data pages.

# Position-independent code and executables (-fPIE/-fPIC and -pie where the toolchain takes them).
include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

if(WIN32)
  add_link_options(LINKER:--dynamicbase,--nxcompat,--high-entropy-va)
else()
  add_compile_options(-fstack-protector-strong)
  add_link_options(LINKER:-z,relro,-z,now)
  # The fortified calls need the optimiser (glibc warns without it), and the sanitizers check
  # those calls themselves, better: the sanitizer and fuzz builds go without them.
  # A _FORTIFY_SOURCE the compiler or the environment set already gives way to this one.
  if(NOT VARNOK_SANITIZE AND NOT VARNOK_FUZZ)
    set(varnok_optimised_configs Release,RelWithDebInfo,MinSizeRel)
    add_compile_options("$<$<CONFIG:${varnok_optimised_configs}>:-U_FORTIFY_SOURCE>"
                        "$<$<CONFIG:${varnok_optimised_configs}>:-D_FORTIFY_SOURCE=2>")
  endif()
endif()
