# Builds the Debian package into WORK and checks what it would install.
# -DCPACK= -DDPKG_DEB= -DCONFIG= -DWORK= -DEXPECTED_NAME=
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${CPACK} -G DEB --config ${CONFIG} -B ${WORK}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "cpack failed (${rc}):\n${out}\n${err}")
endif()

set(deb ${WORK}/${EXPECTED_NAME})
if(NOT EXISTS ${deb})
  file(GLOB made ${WORK}/*.deb)
  message(FATAL_ERROR "expected ${EXPECTED_NAME}, cpack made: ${made}")
endif()

execute_process(COMMAND ${DPKG_DEB} -c ${deb} RESULT_VARIABLE rc OUTPUT_VARIABLE listing)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg-deb -c failed (${rc})")
endif()
message(STATUS "${listing}")

set(expected
  ./usr/bin/velmora
  ./usr/bin/velmora-cli
  ./usr/libexec/velmora/velmora-cli-pdf
  ./usr/lib/velmora/libvelmora_charts.so
  ./usr/share/applications/velmora.desktop
  ./usr/share/mime/packages/velmora.xml
  ./usr/share/metainfo/org.velmora.Velmora.metainfo.xml
  ./usr/share/icons/hicolor/scalable/apps/velmora.svg
  ./usr/share/velmora/help/topic10.html
  ./usr/share/velmora/help/topic210.html
  ./usr/share/velmora/help/topic220.html
  ./usr/share/velmora/data/ssa-period-life-table-2022.csv
  ./usr/share/velmora/data/ssa-cohort-life-tables-tr2025.csv
  ./usr/share/velmora/data/ssa-wage-index-cola-taxable-maximum.csv)
foreach(size 16 22 24 32 48 64 128 256)
  list(APPEND expected ./usr/share/icons/hicolor/${size}x${size}/apps/velmora.png)
endforeach()
foreach(path IN LISTS expected)
  string(REGEX REPLACE "([.+])" "\\\\\\1" pattern "${path}")
  if(NOT listing MATCHES " ${pattern}\n")
    message(FATAL_ERROR "the package lacks ${path}")
  endif()
endforeach()

# The runtime dependencies are worked out from the binaries (Qt's libraries among them), and
# Qt's SVG plugins are named for the print preview's theme icons.
execute_process(COMMAND ${DPKG_DEB} -f ${deb} Depends OUTPUT_VARIABLE depends)
message(STATUS "Depends: ${depends}")
foreach(library libc6 libstdc\\+\\+6 libqt6widgets6 libqt6gui6 libqt6svg6)
  if(NOT depends MATCHES "(^|, )${library}( |,|\n|$)")
    message(FATAL_ERROR "Depends lacks ${library}: ${depends}")
  endif()
endforeach()

# The installed programs find what they load from their own folders: the PDF writer of an
# unpacked package draws the client summary, chart and all, with the package's chart library.
set(root ${WORK}/root)
execute_process(COMMAND ${DPKG_DEB} -x ${deb} ${root} RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "dpkg-deb -x failed (${rc})")
endif()
set(summary ${WORK}/summary.pdf)
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen LD_DEBUG=files
    ${root}/usr/bin/velmora-cli plan --born 1960-03-15 --sex female --fra-benefit 2000
    --pdf ${summary}
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS ${summary})
  message(FATAL_ERROR "the unpacked velmora-cli plan --pdf failed (${rc}):\n${out}\n${err}")
endif()
# The package's own chart library, not the one of the build tree.
string(FIND "${err}" "file=${root}/usr/lib/velmora/libvelmora_charts.so " found)
if(found EQUAL -1)
  string(REGEX MATCHALL "file=[^ ]*velmora_charts[^ ]*" loaded "${err}")
  message(FATAL_ERROR "the unpacked PDF writer did not load the package's chart library: ${loaded}")
endif()
