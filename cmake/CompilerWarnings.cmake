# Project-wide warnings; each target opts in with zelv_warnings(<target>).
function(zelv_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unused-parameter)
endfunction()
