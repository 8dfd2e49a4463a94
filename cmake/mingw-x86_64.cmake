# The same programs and tests as 64-bit Windows programs, for running the tests under 64-bit Wine
# on machines that cannot run 32-bit code. The release stays the 32-bit build.
set(VL_MINGW_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
