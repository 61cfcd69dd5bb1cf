# Hardening of our own programs, as Debian builds its packages: position-independent programs,
# stack protection, checked memory and string functions, control-flow protection, and
# relocations resolved at start and then made read-only. Windows programs get what MinGW's linker
# offers: address-space randomisation, also above 4 GiB, and no execution of data.
# Our targets link vostrel_hardening; libraries found elsewhere keep their own flags.
include(CheckCXXCompilerFlag)
include(CheckLinkerFlag)
include(CheckPIESupported)

add_library(vostrel_hardening INTERFACE)

function(vostrel_harden_compile flag)
  string(MAKE_C_IDENTIFIER "VOSTREL_CXX${flag}" known)
  check_cxx_compiler_flag("${flag}" ${known})
  if(${known})
    target_compile_options(vostrel_hardening INTERFACE "${flag}")
  endif()
endfunction()

function(vostrel_harden_link flag)
  string(MAKE_C_IDENTIFIER "VOSTREL_LD${flag}" known)
  check_linker_flag(CXX "${flag}" ${known})
  if(${known})
    target_link_options(vostrel_hardening INTERFACE "${flag}")
  endif()
endfunction()

# WebAssembly runs in the browser's sandbox, and emscripten's compiler takes none of these flags.
if(MSVC OR EMSCRIPTEN)
  # MSVC's linker already marks programs for randomisation and no execution of data.
  return()
endif()

if(WIN32)
  vostrel_harden_link("LINKER:--dynamicbase,--nxcompat,--high-entropy-va")
  return()
endif()

check_pie_supported(LANGUAGES CXX)
set_target_properties(vostrel_hardening PROPERTIES INTERFACE_POSITION_INDEPENDENT_CODE ON)
foreach(flag -fstack-protector-strong -fstack-clash-protection -fcf-protection)
  vostrel_harden_compile("${flag}")
endforeach()
vostrel_harden_link("LINKER:-z,relro,-z,now")

# The checked functions need the optimiser, and the sanitizers check memory their own way.
if(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize=")
  target_compile_definitions(vostrel_hardening INTERFACE
    "$<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>")
endif()
