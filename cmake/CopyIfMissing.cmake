# Copies SRC to DST unless DST exists: a rebuild never overwrites the
# records a player has made in the build's game folder.
if(NOT EXISTS "${DST}")
  file(COPY_FILE "${SRC}" "${DST}")
endif()
