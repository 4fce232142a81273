# Warnings are errors on our own code only; third-party headers stay quiet.
function(hazumaki_warnings target)
  target_compile_options(${target} PRIVATE
    $<$<COMPILE_LANGUAGE:CXX>:-Wall -Wextra -Wpedantic -Wshadow -Wconversion -Wno-sign-conversion
      -Wnon-virtual-dtor -Wold-style-cast -Wcast-align -Wunused -Woverloaded-virtual
      -Wdouble-promotion -Wformat=2 -Werror>)
endfunction()

# Windows programs run on a bare Windows and under Wine without MinGW's DLLs.
function(hazumaki_windows_program target)
  target_link_options(${target} PRIVATE -static -static-libgcc -static-libstdc++ -mwindows -municode)
  target_compile_definitions(${target} PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
endfunction()
