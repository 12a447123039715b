# Runs the program with the dynamic loader's library log and checks whether any Qt
# library was loaded, with -DNO_CXX_RUNTIME=ON that the shared C++ runtime was not, and with
# -DSTATIC=ON that the program was linked in full (no shared library at all, not even the C
# library, and hence no loader log of its own):
# cmake -DCLI=... -DARGS=a|b|c -DEXPECT_QT=ON|OFF [-DNO_CXX_RUNTIME=ON] [-DSTATIC=ON]
#   -P loaded_libraries.cmake
string(REPLACE "|" ";" args "${ARGS}")
set(ENV{LD_DEBUG} libs)
set(ENV{QT_QPA_PLATFORM} offscreen)
execute_process(COMMAND ${CLI} ${args} RESULT_VARIABLE status OUTPUT_QUIET ERROR_VARIABLE log)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "exit status ${status}:\n${log}")
endif()
# The loader names every library it opens on a "calling init:" line.
string(REGEX MATCHALL "calling init: [^\n]*" opened "${log}")
if(STATIC)
  string(REGEX MATCHALL "calling init: [^\n]*libc\\.so[^\n]*" libc "${log}")
  if(libc)
    message(FATAL_ERROR "the shared C library was loaded:\n${libc}")
  endif()
elseif(NOT opened)
  message(FATAL_ERROR "no loader log; LD_DEBUG was not honoured:\n${log}")
endif()
string(REGEX MATCHALL "calling init: [^\n]*libQt6[^\n]*" qt "${log}")
if(EXPECT_QT AND NOT qt)
  message(FATAL_ERROR "expected Qt libraries, none loaded")
elseif(NOT EXPECT_QT AND qt)
  message(FATAL_ERROR "Qt libraries loaded:\n${qt}")
endif()
# velmora-cli carries the C++ runtime in itself: loading the shared one was most of the cost
# of a short run.
string(REGEX MATCHALL "calling init: [^\n]*(libstdc\\+\\+|libgcc_s)[^\n]*" runtime "${log}")
if(NO_CXX_RUNTIME AND runtime)
  message(FATAL_ERROR "the shared C++ runtime was loaded:\n${runtime}")
endif()
