# Ruffle (the open Flash runtime the published page is played with) is installed by
# scripts/deps.sh from third_party/ruffle's lockfile. Programs look for it in a "ruffle" folder
# beside themselves; in the build tree that folder is a link to the installed package.
set(QX_RUFFLE_PACKAGE ${PROJECT_SOURCE_DIR}/third_party/ruffle/node_modules/@ruffle-rs/ruffle)

function(qx_link_ruffle target)
  if(EXISTS ${QX_RUFFLE_PACKAGE}/ruffle.js)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E create_symlink ${QX_RUFFLE_PACKAGE}
              $<TARGET_FILE_DIR:${target}>/ruffle
      VERBATIM)
  endif()
endfunction()
