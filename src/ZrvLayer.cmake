# zrv_layer(<target> <folder> <sources>...): a static library whose public
# include root holds only a link to src/<folder>, so that its users write
# "<folder>/x.h" and see no other folder through it.
function(zrv_layer target folder)
  add_library(${target} STATIC ${ARGN})
  set(root ${PROJECT_BINARY_DIR}/layers/${folder})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${PROJECT_SOURCE_DIR}/src/${folder} ${root}/${folder} SYMBOLIC)
  target_include_directories(${target} PUBLIC ${root})
endfunction()
