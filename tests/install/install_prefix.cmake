# Installs the three components into a fresh prefix, as an integrator installs them, and keeps
# each component's list of files beside the prefix (the build tree's copy is rewritten by every
# install, the packages' included):
#   cmake -DBUILD=<build tree> -DPREFIX=<prefix> -P install_prefix.cmake
file(REMOVE_RECURSE ${PREFIX} ${PREFIX}-manifests)
file(MAKE_DIRECTORY ${PREFIX}-manifests)
foreach(component runtime dev tools)
  execute_process(
    COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} --component ${component}
    OUTPUT_QUIET
    COMMAND_ERROR_IS_FATAL ANY)
  file(COPY_FILE ${BUILD}/install_manifest_${component}.txt ${PREFIX}-manifests/${component}.txt)
endforeach()
