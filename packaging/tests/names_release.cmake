# cmake -DFILE=METAINFO -DVERSION=X.Y -P names_release.cmake
# The software centre's metadata must list the release being built.
file(READ "${FILE}" metainfo)
string(FIND "${metainfo}" "<release version=\"${VERSION}\"" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${FILE} lists no release ${VERSION}")
endif()
