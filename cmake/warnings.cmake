# Warning flags for every target of the project.
function(kx_set_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
  if(KX_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
