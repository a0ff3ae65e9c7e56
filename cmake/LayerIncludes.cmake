# palisade_expose_own_headers(TARGET FOLDER): the library's users include its
# headers as "FOLDER/x.h" and see no other folder of the source tree. The
# build tree holds include/FOLDER/FOLDER, a link to the library's sources, and
# that is the one include directory the library hands on. A layer thus sees
# only the headers of what it links.
function(palisade_expose_own_headers target folder)
  set(include_root ${PROJECT_BINARY_DIR}/include/${folder})
  file(MAKE_DIRECTORY ${include_root})
  file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${include_root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${include_root})
endfunction()
