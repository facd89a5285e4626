# Run by `cpack -G DEB` once it has laid out the package's files and before it packs them:
# adds the libraries the program and the plug-in link, as dpkg-shlibdeps names their
# packages, to the package's dependencies. CPack's own run of dpkg-shlibdeps
# (CPACK_DEBIAN_PACKAGE_SHLIBDEPS) would also give the package postinst and postrm
# scripts calling ldconfig for any library under usr/lib, and no setting turns that off;
# the plug-in is private to the program, outside the linker's search path, so the
# package needs no maintainer scripts.
if(NOT CPACK_GENERATOR STREQUAL "DEB")
  return()
endif()

set(root ${CPACK_TEMPORARY_DIRECTORY})
set(elf_files)
foreach(file IN LISTS CPACK_VORN_ELF_FILES)
  list(APPEND elf_files ${root}${CPACK_PACKAGING_INSTALL_PREFIX}/${file})
endforeach()
# dpkg-shlibdeps runs in a source package's folder; an empty debian/control is enough.
file(WRITE ${root}/debian/control "")
execute_process(
  COMMAND ${CMAKE_COMMAND} -E env LC_ALL=C
          ${CPACK_VORN_DPKG_SHLIBDEPS} --ignore-missing-info -O ${elf_files}
  WORKING_DIRECTORY ${root}
  OUTPUT_VARIABLE substvars
  ERROR_VARIABLE errors
  RESULT_VARIABLE result
  OUTPUT_STRIP_TRAILING_WHITESPACE)
file(REMOVE_RECURSE ${root}/debian)
string(REGEX MATCH "shlibs:Depends=([^\n]+)" line "${substvars}")
if(NOT result EQUAL 0 OR CMAKE_MATCH_1 STREQUAL "")
  message(FATAL_ERROR "dpkg-shlibdeps failed on ${elf_files}: ${errors}")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${CPACK_DEBIAN_PACKAGE_DEPENDS}, ${CMAKE_MATCH_1}")
