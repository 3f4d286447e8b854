# Installs the three components into a fresh prefix, as an integrator installs them:
#   cmake -DBUILD=<build tree> -DPREFIX=<prefix> -P install_prefix.cmake
file(REMOVE_RECURSE ${PREFIX})
foreach(component runtime dev tools)
  execute_process(
    COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${PREFIX} --component ${component}
    OUTPUT_QUIET
    COMMAND_ERROR_IS_FATAL ANY)
endforeach()
