# Read by cpack. Its Debian generator names the package's files through `file`, which
# escapes the bytes of non-ASCII names (the program folder "ミルネア") unless it prints
# them raw; dpkg-shlibdeps would then be handed a path that does not exist.
find_program(MIRUNEA_FILE_UTILITY file)
if(MIRUNEA_FILE_UTILITY)
  set(FILE_EXECUTABLE "${MIRUNEA_FILE_UTILITY};-r")
endif()
