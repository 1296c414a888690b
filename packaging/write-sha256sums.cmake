# Run by CPack once it has made the archives (still in its staging folder, which is why the
# names are taken alone): writes SHA256SUMS into the folder the archives are delivered to, one
# "<hash>  <file name>" line each, as `sha256sum -c SHA256SUMS` reads it.
set(sums "")
foreach(archive IN LISTS CPACK_PACKAGE_FILES)
    file(SHA256 "${archive}" hash)
    get_filename_component(name "${archive}" NAME)
    string(APPEND sums "${hash}  ${name}\n")
endforeach()
file(WRITE "${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS" "${sums}")
message(STATUS "Checksums written to ${CPACK_PACKAGE_DIRECTORY}/SHA256SUMS")
