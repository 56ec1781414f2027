# Run by CPack on the packages it made: CPack gives every package with a
# shared library postinst and postrm scripts that call ldconfig, which Debian
# runs from a trigger instead (content/linux/triggers). Such a package is
# packed again without those scripts; its files and control data stay as they
# are.
foreach(deb ${CPACK_PACKAGE_FILES})
  set(tree "${deb}.tree")
  file(REMOVE_RECURSE "${tree}")
  execute_process(COMMAND dpkg-deb --raw-extract "${deb}" "${tree}" COMMAND_ERROR_IS_FATAL ANY)
  set(repack FALSE)
  foreach(script postinst postrm)
    if(EXISTS "${tree}/DEBIAN/${script}")
      file(READ "${tree}/DEBIAN/${script}" code)
      string(REGEX REPLACE "[ \t\n]+" " " code "${code}")
      if(NOT code MATCHES "^#!/bin/sh set -e if \\[ \"\\$1\" = \"(configure|remove)\" \\]; then ldconfig fi $")
        message(FATAL_ERROR "${deb}: ${script} does more than call ldconfig: ${code}")
      endif()
      file(REMOVE "${tree}/DEBIAN/${script}")
      set(repack TRUE)
    endif()
  endforeach()
  if(repack)
    execute_process(COMMAND dpkg-deb --root-owner-group -Zgzip --build "${tree}" "${deb}" OUTPUT_QUIET
                    COMMAND_ERROR_IS_FATAL ANY)
  endif()
  file(REMOVE_RECURSE "${tree}")
endforeach()
