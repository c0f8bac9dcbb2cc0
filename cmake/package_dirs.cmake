# Run by cpack once the files of a package are staged (CPACK_PRE_BUILD_SCRIPTS):
# every directory gets mode 755. CMake makes them with mkdir, which the umask
# trims, so a umask of 077 would otherwise ship directories that only root
# can open.
file(GLOB_RECURSE entries LIST_DIRECTORIES true "${CPACK_TEMPORARY_DIRECTORY}/*")
foreach(entry IN LISTS entries)
  if(IS_DIRECTORY "${entry}" AND NOT IS_SYMLINK "${entry}")
    file(CHMOD "${entry}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE
         GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
  endif()
endforeach()
